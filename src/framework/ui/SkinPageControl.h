// TspSkinPageControl: pages (TspSkinTabSheet) with their tabs drawn from the skin: the body
// is SkinDataName ("PageFrame"), the tabs ButtonSkinDataName ("Tab"; the shown page's tab
// ".Active"). A click on a tab, Ctrl+Tab and Ctrl+Shift+Tab, or Alt with a tab's mnemonic
// show another page; Tab walks through the controls of the page shown.
#pragma once

#include "framework/ui/SkinControl.h"

#include <vector>

namespace vp {

class TspSkinPageControl;

class TspSkinTabSheet : public TspSkinControl {
    VP_CLASS(TspSkinTabSheet)
public:
    explicit TspSkinTabSheet(TComponent* aOwner);
    ~TspSkinTabSheet() override;

    // Puts the sheet on a page control (the last page) or takes it off (nullptr).
    TspSkinPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TspSkinPageControl* value);
    int PageIndex() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(HDC dc, const RECT& client) override;
    void CaptionChanged() override;

private:
    friend class TspSkinPageControl;
    TspSkinPageControl* FPageControl = nullptr;
};

class TspSkinPageControl : public TspSkinControl {
    VP_CLASS(TspSkinPageControl)
public:
    explicit TspSkinPageControl(TComponent* aOwner);
    ~TspSkinPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TspSkinTabSheet* Pages(int index) const;
    TspSkinTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TspSkinTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // Shows the page after (or before) the shown one, round the end, and gives its first
    // control the focus.
    void SelectNextPage(bool forward);
    String ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& value);
    TNotifyEvent OnChange;

    // The tab of a page in the client area.
    RECT TabRect(int index) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void AdjustClientRect(RECT& rect) override;

private:
    friend class TspSkinTabSheet;
    void AddPage(TspSkinTabSheet* page);
    void RemovePage(TspSkinTabSheet* page);
    void ShowPage(TspSkinTabSheet* page, bool moveFocus);
    bool DialogKey(const MSG& msg);
    int TabHeight() const;

    std::vector<TspSkinTabSheet*> FPages;
    TspSkinTabSheet* FActivePage = nullptr;
    String FButtonSkinDataName;
    int FHotTab = -1;
};

} // namespace vp
