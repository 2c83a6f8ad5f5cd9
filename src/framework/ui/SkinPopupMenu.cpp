#include "framework/ui/SkinPopupMenu.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/AcceleratorText.h"
#include "framework/ui/HiddenWindow.h"
#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

// The right-hand room of an item that opens a sub-menu, in designed units.
constexpr int kArrowRoom = 18;
constexpr int kArrowSize = 8;

bool HasVisibleItems(const TMenuItem& item)
{
    for (int i = 0; i < item.Count(); ++i)
        if (item.Items(i)->Visible())
            return true;
    return false;
}

// The visible items as the menu shows them: no separator first, last or twice in a row.
std::vector<TMenuItem*> ShownItems(const TMenuItem& parent)
{
    std::vector<TMenuItem*> shown;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine() && (shown.empty() || shown.back()->IsLine()))
            continue;
        shown.push_back(item);
    }
    while (!shown.empty() && shown.back()->IsLine())
        shown.pop_back();
    return shown;
}

} // namespace

const TClassInfo& TspSkinPopupMenu::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinPopupMenu, TComponent>(u"TspSkinPopupMenu")
            .Object(u"SkinData", u"TspSkinData", &TspSkinPopupMenu::SkinData, &TspSkinPopupMenu::SetSkinData)
            .WideText(u"SkinDataName", u"string", &TspSkinPopupMenu::SkinDataName, &TspSkinPopupMenu::SetSkinDataName)
            .Other(u"OnPopup", u"TNotifyEvent")
            .Build();
    return info;
}

TspSkinPopupMenu::TspSkinPopupMenu(TComponent* aOwner)
    : TComponent(aOwner), FSkinDataName(skin::kPopupMenu), FFallback(std::make_unique<TSkinResources>(nullptr))
{
    FItems = new TMenuItem(this);
}

TspSkinPopupMenu::~TspSkinPopupMenu()
{
    FHost.reset();
}

void TspSkinPopupMenu::SetSkinData(TspSkinData* value)
{
    if (FSkinData)
        RemoveFreeNotification(FSkinData);
    FSkinData = value;
    if (FSkinData)
        FreeNotification(FSkinData);
}

void TspSkinPopupMenu::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    if (aComponent == FSkinData)
        FSkinData = nullptr;
    ForgetItem(aComponent);
}

void TspSkinPopupMenu::ForgetItem(TComponent* item)
{
    for (TOpenMenu& menu : FOpen)
        std::replace(menu.Items.begin(), menu.Items.end(), static_cast<TMenuItem*>(item), static_cast<TMenuItem*>(nullptr));
    std::replace(FCommands.begin(), FCommands.end(), static_cast<TMenuItem*>(item), static_cast<TMenuItem*>(nullptr));
}

const TSkinElement& TspSkinPopupMenu::Element(StringView part) const
{
    String name = FSkinDataName + String(part);
    return FSkinData ? FSkinData->Skin().Element(name) : FFallback->Skin().Element(name);
}

HMENU TspSkinPopupMenu::BuildMenu(const TMenuItem& parent)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    TOpenMenu open;
    open.Handle = menu;
    open.Items = ShownItems(parent);
    for (size_t position = 0; position < open.Items.size(); ++position) {
        TMenuItem* item = open.Items[position];
        FCommands.push_back(item);
        FreeNotification(item); // an item that goes while the menu is open is forgotten
        String text = item->Caption();
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_STRING;
        info.fType = MFT_OWNERDRAW | (item->IsLine() ? MFT_SEPARATOR : 0);
        info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_DISABLED);
        info.wID = static_cast<UINT>(FCommands.size());
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        info.dwTypeData = const_cast<wchar_t*>(WStr(text)); // for screen readers; the menu draws it
        if (!item->IsLine() && HasVisibleItems(*item)) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = BuildMenu(*item);
        }
        InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &info);
    }
    FOpen.push_back(std::move(open));
    return menu;
}

bool TspSkinPopupMenu::PopupFor(HWND window, int x, int y, UINT alignment)
{
    if (FActive)
        return false;
    if (OnPopup)
        OnPopup(this);
    if (!FHost)
        FHost = std::make_unique<THiddenWindow>([this](TMessage& message) { return HostMessage(message); });
    HWND host = FHost->Handle();
    // Without the foreground the menu would stay open when the user clicks elsewhere.
    HWND foreground = window ? window : host;
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    if (window || foregroundThread != GetCurrentThreadId())
        SetForegroundWindow(foreground);
    FDpi = DpiAtPoint(POINT{x, y});
    FCommands.clear();
    FOpen.clear();
    HMENU menu = BuildMenu(*FItems);
    if (!menu)
        return false;
    const TSkinElement& box = Element(u"");
    HBRUSH background = box.Fill[TSkinState::Normal] != kClNone ? CreateSolidBrush(box.Fill[TSkinState::Normal]) : nullptr;
    for (const TOpenMenu& open : FOpen) {
        MENUINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = MIM_BACKGROUND;
        info.hbrBack = background;
        SetMenuInfo(open.Handle, &info);
    }
    FActive = true;
    UINT command = TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | alignment, x, y, host, nullptr);
    FActive = false;
    // The system's advice for menus of windows that were not in the foreground.
    PostMessageW(foreground, WM_NULL, 0, 0);
    DestroyMenu(menu); // and its sub-menus
    if (background)
        DeleteObject(background);
    TMenuItem* chosen = command >= 1 && command <= FCommands.size() ? FCommands[command - 1] : nullptr;
    for (TMenuItem* item : FCommands)
        if (item && item != chosen)
            RemoveFreeNotification(item);
    FCommands.clear();
    FOpen.clear();
    if (!chosen)
        return false;
    RemoveFreeNotification(chosen);
    chosen->Click();
    return true;
}

bool TspSkinPopupMenu::HostMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (!measure || measure->CtlType != ODT_MENU)
            return false;
        MeasureItem(*measure);
        message.Result = TRUE;
        message.Handled = true;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (!draw || draw->CtlType != ODT_MENU)
            return false;
        DrawItem(*draw);
        message.Result = TRUE;
        message.Handled = true;
        return true;
    }
    case WM_MENUCHAR:
        message.Result = MenuChar(static_cast<char16_t>(LOWORD(message.WParam)), reinterpret_cast<HMENU>(message.LParam));
        message.Handled = true;
        return true;
    default: return false;
    }
}

void TspSkinPopupMenu::MeasureItem(MEASUREITEMSTRUCT& measure)
{
    const auto* item = reinterpret_cast<const TMenuItem*>(measure.itemData);
    TSkinPainter painter = FSkinData ? FSkinData->Painter(FDpi) : TSkinPainter(*FFallback, FDpi);
    const TSkinMetrics& metrics = painter.Skin().Metrics();
    if (!item || item->IsLine()) {
        measure.itemWidth = 0;
        measure.itemHeight = static_cast<UINT>(painter.Scale(metrics.MenuSeparatorHeight));
        return;
    }
    const TSkinElement& element = Element(u".Item");
    HDC dc = GetDC(FHost->Handle());
    SIZE text = painter.MeasureText(dc, element, StripAccelerators(item->Caption()));
    ReleaseDC(FHost->Handle(), dc);
    RECT padding = painter.Padding(element);
    measure.itemWidth = static_cast<UINT>(painter.Scale(metrics.MenuGutterWidth) + padding.left + text.cx +
        padding.right + painter.Scale(kArrowRoom));
    measure.itemHeight = static_cast<UINT>(std::max<int>(painter.Scale(metrics.MenuItemHeight), text.cy));
}

void TspSkinPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw)
{
    const auto* item = reinterpret_cast<const TMenuItem*>(draw.itemData);
    TSkinPainter painter = FSkinData ? FSkinData->Painter(FDpi) : TSkinPainter(*FFallback, FDpi);
    const TSkinMetrics& metrics = painter.Skin().Metrics();
    HDC dc = draw.hDC;
    const RECT rect = draw.rcItem;
    const TSkinElement& box = Element(u"");
    TColor back = box.Fill[TSkinState::Normal];
    painter.Fill(dc, rect, back != kClNone ? back : GetSysColor(COLOR_MENU));
    const int gutter = painter.Scale(metrics.MenuGutterWidth);
    if (!item || item->IsLine()) {
        const TSkinElement& line = Element(u".Separator");
        RECT padding = painter.Padding(line);
        const int thickness = std::max(1, painter.Scale(1));
        const int y = (rect.top + rect.bottom - thickness) / 2;
        painter.Fill(dc, RECT{rect.left + gutter + padding.left, y, rect.right - padding.right, y + thickness},
            line.Fill[TSkinState::Normal]);
    } else {
        const bool selected = draw.itemState & ODS_SELECTED;
        const bool disabled = draw.itemState & (ODS_GRAYED | ODS_DISABLED);
        const TSkinElement& element = Element(u".Item");
        const TSkinState state = disabled ? TSkinState::Disabled : (selected ? TSkinState::Hot : TSkinState::Normal);
        if (selected) {
            RECT highlight{rect.left + painter.Scale(3), rect.top + painter.Scale(1), rect.right - painter.Scale(3),
                rect.bottom - painter.Scale(1)};
            painter.DrawElement(dc, highlight, element, TSkinState::Hot);
        } else if (gutter > 0) {
            // The gutter's edge, where check marks stand.
            const TSkinElement& line = Element(u".Separator");
            painter.Fill(dc, RECT{rect.left + gutter - 1, rect.top, rect.left + gutter, rect.bottom},
                line.Fill[TSkinState::Normal]);
        }
        if (draw.itemState & ODS_CHECKED) {
            const TSkinElement& check = Element(u".Check");
            RECT mark{rect.left, rect.top, rect.left + gutter, rect.bottom};
            if (check.Glyph[state].Empty())
                painter.DrawGlyph(dc, mark, TSkinGlyph{TBuiltinGlyph::Check, {}}, element.Text[state]);
            else
                painter.DrawElementGlyph(dc, mark, check, disabled ? TSkinState::Disabled : TSkinState::Normal);
        }
        const int arrowRoom = painter.Scale(kArrowRoom);
        RECT text{rect.left + gutter, rect.top, rect.right - arrowRoom, rect.bottom};
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | ((draw.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
        painter.DrawText(dc, text, element, state, item->Caption(), format);
        if (HasVisibleItems(*item)) {
            const int size = painter.Scale(kArrowSize);
            const int cx = rect.right - arrowRoom / 2, cy = (rect.top + rect.bottom) / 2;
            painter.DrawGlyph(dc, RECT{cx - size / 2, cy - size / 2, cx - size / 2 + size, cy - size / 2 + size},
                TSkinGlyph{TBuiltinGlyph::ArrowRight, {}}, element.Text[state]);
        }
    }
    // The system would draw its own sub-menu arrow over ours.
    ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
}

LRESULT TspSkinPopupMenu::MenuChar(char16_t key, HMENU menu) const
{
    const char16_t wanted = UpCaseChar(key);
    for (const TOpenMenu& open : FOpen) {
        if (open.Handle != menu)
            continue;
        for (size_t position = 0; position < open.Items.size(); ++position) {
            const TMenuItem* item = open.Items[position];
            if (item && !item->IsLine() && item->Enabled() && AcceleratorChar(item->Caption()) == wanted)
                return MAKELRESULT(position, MNC_EXECUTE);
        }
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

} // namespace vp
