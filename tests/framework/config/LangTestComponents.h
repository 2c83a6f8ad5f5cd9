// Small component classes for the tests of the language binding and for the language
// collecting tool: controls with captions, a menu item, a narrow-text label, an edit with a
// Text property, a list view with a Columns collection, a memo with a TStrings property, a
// skinned panel, and two windows built from them.
#pragma once

#include "framework/config/LangWindowList.h"
#include "framework/rtl/Collection.h"
#include "framework/rtl/Component.h"

namespace vptest {

using vp::String;

class TTestAction : public vp::TComponent {
    VP_CLASS(TTestAction)
public:
    using TComponent::TComponent;
};

class TTestControl : public vp::TComponent {
    VP_CLASS(TTestControl)
public:
    TTestControl(vp::TComponent* owner, const String& name, const String& caption = u"");
    String Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    String Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }

private:
    String FCaption;
    String FHint;
};

// A button can take its texts from an action; it also has a text without a writer.
class TTestButton : public TTestControl {
    VP_CLASS(TTestButton)
public:
    using TTestControl::TTestControl;
    TTestAction* Action() const { return FAction; }
    void SetAction(TTestAction* value) { FAction = value; }
    String Version() const { return u"1.0"; }

private:
    TTestAction* FAction = nullptr;
};

class TTestMenuItem : public TTestControl {
    VP_CLASS(TTestMenuItem)
public:
    using TTestControl::TTestControl;
};

// Its caption is narrow text.
class TTestNarrowLabel : public TTestControl {
    VP_CLASS(TTestNarrowLabel)
public:
    using TTestControl::TTestControl;
};

class TTestEdit : public TTestControl {
    VP_CLASS(TTestEdit)
public:
    using TTestControl::TTestControl;
    String Text() const { return FText; }
    void SetText(const String& value) { FText = value; }

private:
    String FText;
};

class TTestListColumn : public vp::TCollectionItem {
    VP_CLASS(TTestListColumn)
public:
    using TCollectionItem::TCollectionItem;
    String Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }

private:
    String FCaption;
};

class TTestListView : public TTestControl {
    VP_CLASS(TTestListView)
public:
    using TTestControl::TTestControl;
    vp::TOwnedCollection<TTestListColumn>* Columns() const { return &FColumns; }
    void AddColumn(const String& caption) { FColumns.Add()->SetCaption(caption); }

private:
    mutable vp::TOwnedCollection<TTestListColumn> FColumns;
};

class TTestMemo : public TTestControl {
    VP_CLASS(TTestMemo)
public:
    using TTestControl::TTestControl;
    vp::TStringList* Lines() { return &FLines; }

private:
    vp::TStringList FLines;
};

// Stands for the skinned toolkit's skin data.
class TTestSkinData : public vp::TPersistent {
    VP_CLASS(TTestSkinData)
};

class TTestSkinnedPanel : public TTestControl {
    VP_CLASS(TTestSkinnedPanel)
public:
    using TTestControl::TTestControl;
    TTestSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TTestSkinData* value) { FSkinData = value; }

private:
    TTestSkinData* FSkinData = nullptr;
};

// Reading its Broken property fails.
class TTestFailing : public TTestControl {
    VP_CLASS(TTestFailing)
public:
    using TTestControl::TTestControl;
    String Broken() const;
    void SetBroken(const String&) { }
};

// A window: a component with a caption that owns the others.
class TTestWindow : public TTestControl {
    VP_CLASS(TTestWindow)
public:
    using TTestControl::TTestControl;
};

// The main window: "TfrmMain", named frmMain.
class TfrmMain : public TTestWindow {
    VP_CLASS(TfrmMain)
public:
    explicit TfrmMain(vp::TComponent* owner = nullptr);
    TTestButton* btnHide;
    TTestButton* btnOptions1;
    TTestMenuItem* mnuSep;
    TTestMenuItem* mnuEmpty;
    TTestNarrowLabel* lblSep;
    TTestNarrowLabel* lblEmpty;
    TTestListView* lvList;
    TTestMemo* memInfo;
    TTestEdit* edtSearch;
    TTestSkinnedPanel* pnlStatus;
};

// The country chooser: "TfrmChooseIPCountry", named frmChooseIPCountry.
class TfrmChooseIPCountry : public TTestWindow {
    VP_CLASS(TfrmChooseIPCountry)
public:
    explicit TfrmChooseIPCountry(vp::TComponent* owner = nullptr);
    TTestButton* btnOK;
    TTestButton* btnCancel;
    TTestListView* lvList;
};

// Adds the two windows to a list of windows for collecting.
void RegisterLangTestWindows(vp::TLangWindowList& list);

} // namespace vptest
