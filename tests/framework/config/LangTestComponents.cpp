#include "LangTestComponents.h"

#include "framework/rtl/Exceptions.h"

namespace vptest {

using namespace vp;

const TClassInfo& TTestAction::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestAction, TComponent>(u"TTestAction").Build();
    return info;
}

TTestControl::TTestControl(TComponent* owner, const String& name, const String& caption)
    : TComponent(owner), FCaption(caption)
{
    SetName(name);
}

const TClassInfo& TTestControl::StaticClassInfo()
{
    using T = TTestControl;
    static const TClassInfo info = TClassBuilder<T, TComponent>(u"TTestControl")
                                       .WideText(u"Caption", u"TCaption", &T::Caption, &T::SetCaption)
                                       .WideText(u"Hint", u"string", &T::Hint, &T::SetHint)
                                       .Other(u"Visible", u"Boolean")
                                       .Build();
    return info;
}

const TClassInfo& TTestButton::StaticClassInfo()
{
    using T = TTestButton;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestButton")
                                       .Object(u"Action", u"TBasicAction", &T::Action, &T::SetAction)
                                       .WideText(u"Version", u"string", &T::Version)
                                       .Build();
    return info;
}

const TClassInfo& TTestMenuItem::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestMenuItem, TTestControl>(u"TTestMenuItem").Build();
    return info;
}

const TClassInfo& TTestNarrowLabel::StaticClassInfo()
{
    using T = TTestNarrowLabel;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestNarrowLabel")
                                       .AnsiText(u"Caption", u"string", &T::Caption, &T::SetCaption)
                                       .Build();
    return info;
}

const TClassInfo& TTestEdit::StaticClassInfo()
{
    using T = TTestEdit;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestEdit")
                                       .WideText(u"Text", u"TCaption", &T::Text, &T::SetText)
                                       .Build();
    return info;
}

const TClassInfo& TTestListColumn::StaticClassInfo()
{
    using T = TTestListColumn;
    static const TClassInfo info = TClassBuilder<T, TCollectionItem>(u"TTestListColumn")
                                       .WideText(u"Caption", u"TCaption", &T::Caption, &T::SetCaption)
                                       .Other(u"Width", u"Integer")
                                       .Build();
    return info;
}

const TClassInfo& TTestListView::StaticClassInfo()
{
    using T = TTestListView;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestListView")
                                       .Object(u"Columns", u"TListColumns", &T::Columns)
                                       .Build();
    return info;
}

const TClassInfo& TTestMemo::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTestMemo, TTestControl>(u"TTestMemo").Strings(u"Lines", &TTestMemo::Lines).Build();
    return info;
}

const TClassInfo& TTestSkinData::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestSkinData, TPersistent>(u"TspSkinData").Build();
    return info;
}

const TClassInfo& TTestSkinnedPanel::StaticClassInfo()
{
    using T = TTestSkinnedPanel;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestSkinnedPanel")
                                       .Object(u"SkinData", u"TspSkinData", &T::SkinData, &T::SetSkinData)
                                       .Build();
    return info;
}

String TTestFailing::Broken() const
{
    throw Exception(u"cannot read");
}

const TClassInfo& TTestFailing::StaticClassInfo()
{
    using T = TTestFailing;
    static const TClassInfo info = TClassBuilder<T, TTestControl>(u"TTestFailing")
                                       .WideText(u"Broken", u"string", &T::Broken, &T::SetBroken)
                                       .Build();
    return info;
}

const TClassInfo& TTestWindow::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestWindow, TTestControl>(u"TTestWindow").Build();
    return info;
}

const TClassInfo& TfrmMain::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmMain, TTestWindow>(u"TfrmMain").Build();
    return info;
}

TfrmMain::TfrmMain(TComponent* owner) : TTestWindow(owner, u"frmMain", u"Veilport")
{
    btnHide = new TTestButton(this, u"btnHide", u"Hide IP");
    btnHide->SetHint(u"Hide your IP address");
    btnOptions1 = new TTestButton(this, u"btnOptions1", u"Options");
    mnuSep = new TTestMenuItem(this, u"mnuSep", u"-");
    mnuEmpty = new TTestMenuItem(this, u"mnuEmpty", u"");
    lblSep = new TTestNarrowLabel(this, u"lblSep", u"-");
    lblEmpty = new TTestNarrowLabel(this, u"lblEmpty", u"");
    lvList = new TTestListView(this, u"lvList");
    lvList->AddColumn(u"Country");
    lvList->AddColumn(u"Count");
    memInfo = new TTestMemo(this, u"memInfo");
    memInfo->Lines()->SetText(u"Line one\r\nLine two");
    edtSearch = new TTestEdit(this, u"edtSearch", u"Search");
    edtSearch->SetText(u"typed text");
    pnlStatus = new TTestSkinnedPanel(this, u"pnlStatus", u"Status");
}

const TClassInfo& TfrmChooseIPCountry::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TfrmChooseIPCountry, TTestWindow>(u"TfrmChooseIPCountry").Build();
    return info;
}

TfrmChooseIPCountry::TfrmChooseIPCountry(TComponent* owner)
    : TTestWindow(owner, u"frmChooseIPCountry", u"Choose a country")
{
    btnOK = new TTestButton(this, u"btnOK", u"OK");
    btnCancel = new TTestButton(this, u"btnCancel", u"Cancel");
    lvList = new TTestListView(this, u"lvList");
    lvList->AddColumn(u"Country");
}

void RegisterLangTestWindows(TLangWindowList& list)
{
    list.Add(u"TfrmMain", [] { return std::make_unique<TfrmMain>(); });
    list.Add(u"TfrmChooseIPCountry", [] { return std::make_unique<TfrmChooseIPCountry>(); });
}

} // namespace vptest
