#include "framework/ui/SkinPageControl.h"

#include <windowsx.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr StringView kActivePart = u".Active";

// The accelerator of a caption ("&General" gives G), upper case; 0 when it has none.
char16_t Accelerator(const String& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return UpCaseChar(caption[i + 1]);
        ++i;
    }
    return 0;
}

} // namespace

// ---- TspSkinTabSheet ----

const TClassInfo& TspSkinTabSheet::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinTabSheet, TspSkinControl>(u"TspSkinTabSheet").Other(u"PageControl", u"TspSkinPageControl").Build();
    return info;
}

TspSkinTabSheet::TspSkinTabSheet(TComponent* aOwner) : TspSkinControl(aOwner, skin::kPageFrame)
{
    FClicksOnMouseUp = false;
    FAlign = TAlign::alClient;
}

TspSkinTabSheet::~TspSkinTabSheet()
{
    SetPageControl(nullptr);
}

void TspSkinTabSheet::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinTabSheet::SetPageControl(TspSkinPageControl* value)
{
    if (value == FPageControl)
        return;
    if (FPageControl)
        FPageControl->RemovePage(this);
    FPageControl = value;
    if (FPageControl) {
        SetSkinData(FPageControl->SkinData());
        FPageControl->AddPage(this);
    }
}

int TspSkinTabSheet::PageIndex() const
{
    if (!FPageControl)
        return -1;
    auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TspSkinTabSheet::CaptionChanged()
{
    TspSkinControl::CaptionChanged();
    if (FPageControl)
        FPageControl->Invalidate();
}

void TspSkinTabSheet::Paint(HDC, const RECT&)
{
    // The page control's body shows through.
}

// ---- TspSkinPageControl ----

const TClassInfo& TspSkinPageControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinPageControl, TspSkinControl>(u"TspSkinPageControl")
            .Other(u"ActivePage", u"TspSkinTabSheet")
            .WideText(u"ButtonSkinDataName", u"string", &TspSkinPageControl::ButtonSkinDataName,
                &TspSkinPageControl::SetButtonSkinDataName)
            .Other(u"OnChange", u"TNotifyEvent")
            .Build();
    return info;
}

TspSkinPageControl::TspSkinPageControl(TComponent* aOwner)
    : TspSkinControl(aOwner, skin::kPageFrame), FButtonSkinDataName(skin::kTab)
{
    FWidth = 289;
    FHeight = 193;
    FClicksOnMouseUp = false;
}

TspSkinPageControl::~TspSkinPageControl()
{
    for (TspSkinTabSheet* page : std::vector<TspSkinTabSheet*>(FPages))
        page->FPageControl = nullptr;
    FPages.clear();
}

void TspSkinPageControl::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinPageControl::SetButtonSkinDataName(const String& value)
{
    FButtonSkinDataName = value;
    Invalidate();
}

TspSkinTabSheet* TspSkinPageControl::Pages(int index) const
{
    return index >= 0 && index < PageCount() ? FPages[static_cast<size_t>(index)] : nullptr;
}

void TspSkinPageControl::AddPage(TspSkinTabSheet* page)
{
    FPages.push_back(page);
    page->SetParent(this);
    if (!FActivePage)
        ShowPage(page, false);
    else
        page->SetVisible(false);
    Invalidate();
}

void TspSkinPageControl::RemovePage(TspSkinTabSheet* page)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
    if (!IsDestroying())
        page->SetParent(nullptr);
    if (FActivePage == page) {
        FActivePage = nullptr;
        if (!FPages.empty() && !IsDestroying())
            ShowPage(FPages.front(), false);
    }
    Invalidate();
}

int TspSkinPageControl::ActivePageIndex() const
{
    return FActivePage ? FActivePage->PageIndex() : -1;
}

void TspSkinPageControl::SetActivePageIndex(int index)
{
    if (TspSkinTabSheet* page = Pages(index))
        SetActivePage(page);
}

void TspSkinPageControl::SetActivePage(TspSkinTabSheet* page)
{
    if (page && page->FPageControl == this)
        ShowPage(page, false);
}

void TspSkinPageControl::ShowPage(TspSkinTabSheet* page, bool moveFocus)
{
    if (page == FActivePage)
        return;
    TspSkinTabSheet* old = FActivePage;
    const bool focusWasOnOld =
        old && old->HandleAllocated() && (GetFocus() == old->Handle() || IsChild(old->Handle(), GetFocus()));
    FActivePage = page;
    page->SetVisible(true);
    if (old)
        old->SetVisible(false);
    if ((moveFocus || focusWasOnOld) && HandleAllocated()) {
        // The first control of the page shown, else the page control itself.
        HWND first = page->HandleAllocated() ? GetNextDlgTabItem(page->Handle(), nullptr, FALSE) : nullptr;
        if (first && IsChild(page->Handle(), first))
            ::SetFocus(first);
        else
            ::SetFocus(Handle());
    }
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TspSkinPageControl::SelectNextPage(bool forward)
{
    if (FPages.empty())
        return;
    const int count = PageCount();
    const int current = std::max(0, ActivePageIndex());
    ShowPage(FPages[static_cast<size_t>((current + (forward ? 1 : count - 1)) % count)], true);
}

int TspSkinPageControl::TabHeight() const
{
    return ScaleValue(Skin().Metrics().TabHeight);
}

RECT TspSkinPageControl::TabRect(int index) const
{
    if (index < 0 || index >= PageCount())
        return RECT{0, 0, 0, 0};
    TSkinPainter painter = Painter();
    const TSkinElement& tab = Skin().Element(FButtonSkinDataName);
    RECT padding = painter.Padding(tab);
    HDC screen = GetDC(nullptr);
    int left = 0;
    RECT rect{};
    for (int i = 0; i <= index; ++i) {
        const int width = painter.MeasureText(screen, tab, FPages[static_cast<size_t>(i)]->Caption()).cx + padding.left +
            padding.right;
        rect = RECT{left, 0, left + width, TabHeight()};
        left += width;
    }
    ReleaseDC(nullptr, screen);
    return rect;
}

void TspSkinPageControl::AdjustClientRect(RECT& rect)
{
    // The page shown fills the body less its frame and padding.
    TSkinPainter painter = Painter();
    const TSkinElement& body = Element();
    RECT padding = painter.Padding(body);
    const int border = body.BorderWidth > 0 ? std::max(1, painter.Scale(body.BorderWidth)) : 0;
    rect.top += TabHeight();
    rect.left += border + padding.left;
    rect.top += border + padding.top;
    rect.right = std::max(rect.left, rect.right - border - padding.right);
    rect.bottom = std::max(rect.top, rect.bottom - border - padding.bottom);
}

void TspSkinPageControl::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& body = Element();
    const int tabHeight = TabHeight();
    const TSkinState enabled = Enabled() ? TSkinState::Normal : TSkinState::Disabled;
    painter.DrawElement(dc, RECT{client.left, client.top + tabHeight, client.right, client.bottom}, body, enabled);
    const int active = ActivePageIndex();
    const int border = body.BorderWidth > 0 ? std::max(1, painter.Scale(body.BorderWidth)) : 0;
    for (int i = 0; i < PageCount(); ++i) {
        const bool isActive = i == active;
        const TSkinElement& tab =
            isActive ? Skin().Element(FButtonSkinDataName + String(kActivePart)) : Skin().Element(FButtonSkinDataName);
        const TSkinState state = !Enabled() ? TSkinState::Disabled : i == FHotTab ? TSkinState::Hot : TSkinState::Normal;
        RECT rect = TabRect(i);
        // The shown page's tab reaches over the body's top line, so the two join.
        if (isActive)
            rect.bottom += border;
        else
            rect.top += painter.Scale(2);
        painter.DrawElement(dc, rect, tab, state);
        painter.DrawText(dc, rect, tab, state, FPages[static_cast<size_t>(i)]->Caption(),
            DT_SINGLELINE | DT_VCENTER | DT_CENTER | PrefixFlags());
    }
}

bool TspSkinPageControl::DialogKey(const MSG& msg)
{
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && ctrl) {
        SelectNextPage(!shift);
        return true;
    }
    if (msg.message == WM_SYSKEYDOWN && (GetKeyState(VK_MENU) & 0x8000)) {
        const char16_t key = UpCaseChar(static_cast<char16_t>(MapVirtualKeyW(static_cast<UINT>(msg.wParam), MAPVK_VK_TO_CHAR)));
        for (TspSkinTabSheet* page : FPages)
            if (key != 0 && Accelerator(page->Caption()) == key) {
                ShowPage(page, true);
                return true;
            }
    }
    return false;
}

void TspSkinPageControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_VP_DIALOGKEY:
        message.Result = DialogKey(*reinterpret_cast<const MSG*>(message.LParam)) ? 1 : 0;
        message.Handled = true;
        return;
    case WM_LBUTTONDOWN: {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        for (int i = 0; i < PageCount(); ++i) {
            RECT rect = TabRect(i);
            if (PtInRect(&rect, point)) {
                ShowPage(FPages[static_cast<size_t>(i)], false);
                break;
            }
        }
        break;
    }
    case WM_MOUSEMOVE: {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        int hot = -1;
        for (int i = 0; i < PageCount(); ++i) {
            RECT rect = TabRect(i);
            if (PtInRect(&rect, point))
                hot = i;
        }
        if (hot != FHotTab) {
            FHotTab = hot;
            Invalidate();
        }
        break;
    }
    case WM_MOUSELEAVE:
        FHotTab = -1;
        break;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
