#include "framework/ui/SkinForm.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinFramePainter.h"
#include "framework/ui/SkinPopupMenu.h"
#include "framework/ui/TrayIcon.h"

#include <windowsx.h>

#include <algorithm>

namespace vp {

namespace {

// Messages a themed Windows sends to draw a caption directly; a skinned frame has none.
constexpr UINT kNcUahDrawCaption = 0x00AE;
constexpr UINT kNcUahDrawFrame = 0x00AF;

LRESULT HitCode(const TFrameHitTest& hit)
{
    switch (hit.Hit) {
    case TFrameHit::Nowhere: return HTNOWHERE;
    case TFrameHit::Client: return HTCLIENT;
    case TFrameHit::Caption: return HTCAPTION;
    case TFrameHit::Icon: return HTSYSMENU;
    case TFrameHit::Border: return HTBORDER;
    case TFrameHit::Left: return HTLEFT;
    case TFrameHit::Right: return HTRIGHT;
    case TFrameHit::Top: return HTTOP;
    case TFrameHit::Bottom: return HTBOTTOM;
    case TFrameHit::TopLeft: return HTTOPLEFT;
    case TFrameHit::TopRight: return HTTOPRIGHT;
    case TFrameHit::BottomLeft: return HTBOTTOMLEFT;
    case TFrameHit::BottomRight: return HTBOTTOMRIGHT;
    case TFrameHit::Button: break;
    }
    switch (hit.Button) {
    case TCaptionButton::Close: return HTCLOSE;
    case TCaptionButton::Maximize: return HTMAXBUTTON;
    case TCaptionButton::Minimize: return HTMINBUTTON;
    case TCaptionButton::SysMenu: return HTSYSMENU;
    case TCaptionButton::RollUp: break;
    }
    return HTOBJECT; // no system button of this kind: nothing of the system's reacts to it
}

bool IsSizingEdge(TFrameHit hit)
{
    return hit >= TFrameHit::Left && hit <= TFrameHit::BottomRight;
}

POINT MessagePoint(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

} // namespace

const TClassInfo& TspDynamicSkinForm::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspDynamicSkinForm, TComponent>(u"TspDynamicSkinForm")
            .Object(u"SkinData", u"TspSkinData", &TspDynamicSkinForm::SkinData, &TspDynamicSkinForm::SetSkinData)
            .WideText(u"SkinDataName", u"string", &TspDynamicSkinForm::SkinDataName,
                &TspDynamicSkinForm::SetSkinDataName)
            .Other(u"SysMenuButton", u"Boolean")
            .Other(u"MinimizeButton", u"Boolean")
            .Other(u"MaximizeButton", u"Boolean")
            .Other(u"RollUpButton", u"Boolean")
            .Other(u"CloseButton", u"Boolean")
            .Other(u"Sizeable", u"Boolean")
            .Object(u"SysMenu", u"TspSkinPopupMenu", &TspDynamicSkinForm::SysMenu, &TspDynamicSkinForm::SetSysMenu)
            .Object(u"TrayIcon", u"TspTrayIcon", &TspDynamicSkinForm::TrayIcon, &TspDynamicSkinForm::SetTrayIcon)
            .Other(u"AlwaysShowTrayIcon", u"Boolean")
            .Other(u"MinimizeToTray", u"Boolean")
            .Other(u"OnSkinFormObjectCommand", u"TspSkinFormObjectCommandEvent")
            .Build();
    return info;
}

TspDynamicSkinForm::TspDynamicSkinForm(TComponent* aOwner)
    : TComponent(aOwner), FSkinDataName(skin::kForm), FFallback(std::make_unique<TSkinResources>(nullptr))
{
    FForm = dynamic_cast<TForm*>(aOwner);
    if (!FForm)
        throw EInvalidCast(u"The skinned frame must be placed on a form");
    FForm->SetFrame(this);
    FHook = FForm->AddMessageHook([this](TMessage& message) { HookMessage(message); });
}

TspDynamicSkinForm::~TspDynamicSkinForm()
{
    FHook.Remove();
    if (FForm->Frame() == this) {
        FForm->SetFrame(nullptr);
        // The window keeps living: it gets the system's frame back.
        if (!FForm->IsDestroying())
            FForm->FrameChanged();
    }
    if (FSkinData)
        FSkinData->RemoveClient(this);
    if (FIcon)
        DestroyIcon(FIcon);
}

void TspDynamicSkinForm::Loaded()
{
    TComponent::Loaded();
    // A form being built shows the icon once its creation handler has run: a handler that sets
    // the icon's picture and shows it again then costs the shell one icon, not three changes.
    if (!FForm->Creating())
        ApplyTrayIcon();
}

void TspDynamicSkinForm::FormCreated()
{
    ApplyTrayIcon();
}

void TspDynamicSkinForm::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    if (aComponent == FSysMenu)
        FSysMenu = nullptr;
    if (aComponent == FTrayIcon)
        FTrayIcon = nullptr;
    if (aComponent == FBuiltinSysMenu)
        FBuiltinSysMenu = nullptr;
    if (aComponent == FSkinData) {
        FSkinData = nullptr;
        if (!FForm->IsDestroying())
            SkinChanged();
    }
}

// ---- Properties ----

void TspDynamicSkinForm::SetSkinData(TspSkinData* value)
{
    if (value == FSkinData)
        return;
    if (FSkinData)
        FSkinData->RemoveClient(this);
    FSkinData = value;
    if (FSkinData)
        FSkinData->AddClient(this);
    SkinChanged();
}

void TspDynamicSkinForm::SetSkinDataName(const String& value)
{
    FSkinDataName = value;
    if (HWND window = Window())
        InvalidateRect(window, nullptr, TRUE);
}

void TspDynamicSkinForm::SetFlag(bool& flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    FForm->FrameChanged(); // the minimise and maximise styles follow the buttons
    InvalidateFrame();
}

void TspDynamicSkinForm::SetSysMenu(TspSkinPopupMenu* value)
{
    if (FSysMenu)
        RemoveFreeNotification(FSysMenu);
    FSysMenu = value;
    if (FSysMenu)
        FreeNotification(FSysMenu);
}

void TspDynamicSkinForm::SetTrayIcon(TspTrayIcon* value)
{
    if (FTrayIcon)
        RemoveFreeNotification(FTrayIcon);
    FTrayIcon = value;
    if (FTrayIcon)
        FreeNotification(FTrayIcon);
    ApplyTrayIcon();
}

void TspDynamicSkinForm::SetAlwaysShowTrayIcon(bool value)
{
    FAlwaysShowTrayIcon = value;
    ApplyTrayIcon();
}

void TspDynamicSkinForm::ApplyTrayIcon()
{
    if (FTrayIcon && FAlwaysShowTrayIcon && !IsLoading())
        FTrayIcon->SetVisible(true);
}

bool TspDynamicSkinForm::Skinned() const
{
    return FSkinData && FSkinData->SkinnableForm() && !Borderless();
}

bool TspDynamicSkinForm::Borderless() const
{
    return FForm->BorderStyle == TBorderStyle::bsNone;
}

const TSkinDefinition& TspDynamicSkinForm::Skin() const
{
    return FSkinData ? FSkinData->Skin() : FFallback->Skin();
}

TSkinPainter TspDynamicSkinForm::Painter(UINT dpi) const
{
    return FSkinData ? FSkinData->Painter(dpi) : TSkinPainter(*FFallback, dpi);
}

String TspDynamicSkinForm::ResText(StringView name) const
{
    if (FSkinData)
        return FSkinData->ResStr(name);
    for (const TSkinResourceString& entry : SkinResourceDefaults())
        if (SameText(entry.Name, name))
            return entry.Text;
    return String();
}

HWND TspDynamicSkinForm::Window() const
{
    return FForm->HandleAllocated() ? FForm->Handle() : nullptr;
}

UINT TspDynamicSkinForm::Dpi() const
{
    return FForm->CurrentDpi();
}

TCaptionButtonSet TspDynamicSkinForm::Buttons() const
{
    TCaptionButtonSet buttons;
    buttons.Include(TCaptionButton::Close, FCloseButton)
        .Include(TCaptionButton::Maximize, FMaximizeButton)
        .Include(TCaptionButton::Minimize, FMinimizeButton)
        .Include(TCaptionButton::RollUp, FRollUpButton)
        .Include(TCaptionButton::SysMenu, FSysMenuButton);
    return buttons;
}

TSkinFrameLayout TspDynamicSkinForm::LayoutFor(int width, int height, UINT dpi) const
{
    const TSkinDefinition& skin = Skin();
    TSkinFrameParams params;
    params.Metrics = skin.Metrics();
    params.CaptionPadding = skin.Element(skin::kFormCaption).Padding;
    params.Dpi = dpi;
    params.Width = width;
    params.Height = height;
    params.Buttons = Buttons();
    params.Sizeable = FSizeable;
    HWND window = Window();
    params.Maximized = window && IsZoomed(window);
    params.RolledUp = FRolledUp;
    return TSkinFrameLayout(params);
}

TSkinFrameLayout TspDynamicSkinForm::Layout() const
{
    RECT rect{};
    if (HWND window = Window())
        GetWindowRect(window, &rect);
    return LayoutFor(rect.right - rect.left, rect.bottom - rect.top, Dpi());
}

TFrameHitTest TspDynamicSkinForm::HitTestScreen(POINT screen) const
{
    RECT rect{};
    GetWindowRect(Window(), &rect);
    return LayoutFor(rect.right - rect.left, rect.bottom - rect.top, Dpi())
        .HitTest(screen.x - rect.left, screen.y - rect.top);
}

// ---- The form's frame ----

void TspDynamicSkinForm::AdjustFrameStyle(DWORD& style, DWORD& exStyle)
{
    // A window without a border (a child window among them) keeps its styles.
    if (Borderless())
        return;
    if (Skinned()) {
        // A pop-up with a system menu: no caption or border of the system's, still a window
        // the task bar and the window manager treat as an application's.
        constexpr DWORD kFrame = WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_MINIMIZEBOX |
            WS_MAXIMIZEBOX | WS_CHILD;
        style = (style & ~kFrame) | WS_POPUP | WS_SYSMENU;
        exStyle &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    } else if (!FSizeable) {
        style &= ~WS_THICKFRAME;
    }
    // The task bar minimises and Win+Up maximises only windows with these.
    style = FMinimizeButton ? style | WS_MINIMIZEBOX : style & ~WS_MINIMIZEBOX;
    style = FMaximizeButton ? style | WS_MAXIMIZEBOX : style & ~WS_MAXIMIZEBOX;
}

RECT TspDynamicSkinForm::FrameRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi)
{
    if (!Skinned())
        return WindowRectForClient(clientWidth, clientHeight, style, exStyle, dpi);
    const TRect insets = LayoutFor(0, 0, dpi).Insets();
    return RECT{-insets.Left, -insets.Top, clientWidth + insets.Right, clientHeight + insets.Bottom};
}

void TspDynamicSkinForm::SkinChanged()
{
    HWND window = Window();
    if (!window)
        return;
    if (FRolledUp && !Skinned())
        FRolledUp = false; // the system's frame does not roll up
    // Another skin may have another caption and border: the window takes its size again.
    FForm->FrameChanged();
    if (FRolledUp) {
        RECT rect;
        GetWindowRect(window, &rect);
        FUnrolledHeight = rect.bottom - rect.top;
        SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, Layout().MinimumHeight(),
            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- Commands ----

bool TspDynamicSkinForm::Offered(TspFormCommand command) const
{
    HWND window = Window();
    switch (command) {
    case TspFormCommand::cmMinimize: return FMinimizeButton;
    case TspFormCommand::cmMaximize: return FMaximizeButton && !(window && IsZoomed(window));
    case TspFormCommand::cmRollUp: return FRollUpButton && Skinned();
    case TspFormCommand::cmMinimizeToTray: return FTrayIcon != nullptr;
    case TspFormCommand::cmClose:
    case TspFormCommand::cmRestore:
    case TspFormCommand::cmSysMenu:
    case TspFormCommand::cmDefault: break;
    }
    return true;
}

bool TspDynamicSkinForm::ExecuteCommand(TspFormCommand Command)
{
    return RunCommand(Command, std::nullopt);
}

bool TspDynamicSkinForm::RunCommand(TspFormCommand command, std::optional<POINT> at)
{
    if (!Offered(command))
        return false;
    bool bCancel = false;
    if (OnSkinFormObjectCommand)
        OnSkinFormObjectCommand(command, bCancel);
    if (bCancel)
        return false;
    HWND window = Window();
    switch (command) {
    case TspFormCommand::cmClose:
        if (window)
            SendMessageW(window, WM_CLOSE, 0, 0);
        else
            FForm->Close();
        break;
    case TspFormCommand::cmMinimize:
        if (window)
            ShowWindow(window, SW_MINIMIZE);
        break;
    case TspFormCommand::cmMaximize:
        SetRolledUp(false);
        if (window)
            ShowWindow(window, SW_MAXIMIZE);
        break;
    case TspFormCommand::cmRestore:
        if (FInTray)
            RestoreFromTray();
        else if (window)
            ShowWindow(window, SW_RESTORE);
        break;
    case TspFormCommand::cmRollUp: SetRolledUp(!FRolledUp); break;
    case TspFormCommand::cmSysMenu: ShowSysMenu(at); break;
    case TspFormCommand::cmDefault:
        if (window && IsZoomed(window))
            RunCommand(TspFormCommand::cmRestore, std::nullopt);
        else if (Offered(TspFormCommand::cmMaximize))
            RunCommand(TspFormCommand::cmMaximize, std::nullopt);
        else if (Offered(TspFormCommand::cmRollUp))
            RunCommand(TspFormCommand::cmRollUp, std::nullopt);
        break;
    case TspFormCommand::cmMinimizeToTray: MinimizeWindowToTray(); break;
    }
    return true;
}

void TspDynamicSkinForm::MinimizeWindowToTray()
{
    if (!FTrayIcon) {
        if (HWND window = Window())
            ShowWindow(window, SW_MINIMIZE);
        return;
    }
    if (!FTrayIcon->Visible()) {
        FTrayIcon->SetVisible(true);
        FTrayIconShownForTray = true;
    }
    FInTray = true;
    FForm->Hide();
}

bool TspDynamicSkinForm::RestoreFromTray()
{
    HWND window = Window();
    if (!window)
        return false;
    FInTray = false;
    FForm->Show();
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    if (FTrayIconShownForTray && FTrayIcon && !FAlwaysShowTrayIcon)
        FTrayIcon->SetVisible(false);
    FTrayIconShownForTray = false;
    return true;
}

void TspDynamicSkinForm::SetRolledUp(bool value)
{
    HWND window = Window();
    if (value == FRolledUp || !window || (value && (!Skinned() || IsZoomed(window) || IsIconic(window))))
        return;
    RECT rect;
    GetWindowRect(window, &rect);
    FRolledUp = value;
    int height = FUnrolledHeight;
    if (value) {
        FUnrolledHeight = rect.bottom - rect.top;
        height = Layout().MinimumHeight();
    }
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateFrame();
}

TspSkinPopupMenu& TspDynamicSkinForm::BuiltinSysMenu()
{
    if (FBuiltinSysMenu)
        return *FBuiltinSysMenu;
    FBuiltinSysMenu = new TspSkinPopupMenu(this);
    FreeNotification(FBuiltinSysMenu);
    TMenuItem* root = FBuiltinSysMenu->Items();
    auto add = [&](TspFormCommand command) {
        auto* item = new TMenuItem(FBuiltinSysMenu);
        item->OnClick = [this, command](TObject*) { RunCommand(command, std::nullopt); };
        root->Add(item);
        return item;
    };
    TMenuItem* restore = add(TspFormCommand::cmRestore);
    TMenuItem* minimize = add(TspFormCommand::cmMinimize);
    TMenuItem* maximize = add(TspFormCommand::cmMaximize);
    TMenuItem* rollUp = add(TspFormCommand::cmRollUp);
    TMenuItem* toTray = add(TspFormCommand::cmMinimizeToTray);
    root->Add(new TMenuItem(FBuiltinSysMenu));
    root->Items(root->Count() - 1)->SetCaption(u"-");
    TMenuItem* close = add(TspFormCommand::cmClose);
    // States and texts as they are when the menu opens.
    FBuiltinSysMenu->OnPopup = [=, this](TObject*) {
        HWND window = Window();
        const bool iconic = window && IsIconic(window), zoomed = window && IsZoomed(window);
        restore->SetCaption(ResText(skinres::kSysRestore));
        restore->SetEnabled(iconic || zoomed);
        minimize->SetCaption(ResText(skinres::kSysMinimize));
        minimize->SetVisible(FMinimizeButton);
        minimize->SetEnabled(!iconic);
        maximize->SetCaption(ResText(skinres::kSysMaximize));
        maximize->SetVisible(FMaximizeButton);
        maximize->SetEnabled(!zoomed);
        rollUp->SetCaption(ResText(FRolledUp ? skinres::kSysRollDown : skinres::kSysRollUp));
        rollUp->SetVisible(FRollUpButton && Skinned());
        rollUp->SetEnabled(!zoomed && !iconic);
        toTray->SetCaption(ResText(skinres::kSysMinimizeToTray));
        toTray->SetVisible(FTrayIcon != nullptr);
        close->SetCaption(ResText(skinres::kSysClose));
    };
    return *FBuiltinSysMenu;
}

void TspDynamicSkinForm::ShowSysMenu(std::optional<POINT> at)
{
    HWND window = Window();
    if (!window)
        return;
    TspSkinPopupMenu& menu = FSysMenu ? *FSysMenu : BuiltinSysMenu();
    if (!FSysMenu || !menu.SkinData())
        menu.SetSkinData(FSkinData);
    POINT point{};
    if (at) {
        point = *at;
    } else if (Skinned()) {
        // Below the icon, as the system opens its own.
        RECT rect;
        GetWindowRect(window, &rect);
        TSkinFrameLayout layout = Layout();
        const TRect icon = layout.IconRect();
        point = POINT{rect.left + (icon.Width() > 0 ? icon.Left : layout.BorderWidth()), rect.top + layout.Insets().Top};
    } else {
        ClientToScreen(window, &point);
    }
    menu.PopupFor(window, point.x, point.y);
}

// ---- Messages ----

void TspDynamicSkinForm::HookMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SYSCOMMAND:
        if (SysCommand(message))
            return;
        break;
    case WM_NCRBUTTONUP:
        // The system would show its own system menu.
        if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU) {
            RunCommand(TspFormCommand::cmSysMenu, MessagePoint(message.LParam));
            message.Result = 0;
            message.Handled = true;
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (FSkinData && Skin().Element(FSkinDataName).Fill[TSkinState::Normal] != kClNone) {
            FillClient(reinterpret_cast<HDC>(message.WParam));
            message.Result = 1;
            message.Handled = true;
            return;
        }
        break;
    default: break;
    }
    if (Skinned())
        SkinnedMessage(message);
}

bool TspDynamicSkinForm::SysCommand(TMessage& message)
{
    std::optional<TspFormCommand> command;
    switch (message.WParam & 0xFFF0) {
    case SC_CLOSE: command = TspFormCommand::cmClose; break;
    case SC_MINIMIZE:
        command = FMinimizeToTray && FTrayIcon ? TspFormCommand::cmMinimizeToTray : TspFormCommand::cmMinimize;
        break;
    case SC_MAXIMIZE: command = TspFormCommand::cmMaximize; break;
    case SC_RESTORE: command = TspFormCommand::cmRestore; break;
    case SC_MOUSEMENU: command = TspFormCommand::cmSysMenu; break;
    case SC_KEYMENU:
        if (message.LParam == u' ') {
            command = TspFormCommand::cmSysMenu; // Alt+Space
        } else if (Skinned()) {
            // Alt alone would enter the menu mode of a system menu nobody sees.
            message.Result = 0;
            message.Handled = true;
            return true;
        }
        break;
    default: break;
    }
    if (!command)
        return false;
    RunCommand(*command, std::nullopt);
    message.Result = 0;
    message.Handled = true;
    return true;
}

bool TspDynamicSkinForm::SkinnedMessage(TMessage& message)
{
    HWND window = Window();
    switch (message.Msg) {
    case WM_NCCALCSIZE: NonClientCalcSize(message); return true;
    case WM_NCPAINT:
        PaintNonClient();
        message.Result = 0;
        message.Handled = true;
        return true;
    case WM_NCACTIVATE:
        FActive = message.WParam != FALSE;
        PaintNonClient();
        message.Result = TRUE;
        message.Handled = true;
        return true;
    case kNcUahDrawCaption:
    case kNcUahDrawFrame:
        message.Result = 0;
        message.Handled = true;
        return true;
    case WM_NCHITTEST:
        message.Result = HitCode(HitTestScreen(MessagePoint(message.LParam)));
        message.Handled = true;
        return true;
    case WM_NCMOUSEMOVE: {
        if (FPressed || FSizingEdge != TFrameHit::Nowhere)
            return false;
        TFrameHitTest hit = HitTestScreen(MessagePoint(message.LParam));
        SetHot(hit.Hit == TFrameHit::Button ? std::optional(hit.Button) : std::nullopt);
        if (!FTrackingLeave) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, window, 0};
            FTrackingLeave = TrackMouseEvent(&track);
        }
        return false;
    }
    case WM_NCMOUSELEAVE:
        FTrackingLeave = false;
        if (!FPressed)
            SetHot(std::nullopt);
        return false;
    case WM_MOUSEMOVE: {
        POINT screen = MessagePoint(message.LParam);
        ClientToScreen(window, &screen);
        if (FPressed) {
            TrackButton(screen);
        } else if (FSizingEdge != TFrameHit::Nowhere) {
            TrackSizing(screen);
        } else {
            if (FHot)
                SetHot(std::nullopt);
            return false;
        }
        message.Result = 0;
        message.Handled = true;
        return true;
    }
    case WM_LBUTTONUP: {
        if (!FPressed && FSizingEdge == TFrameHit::Nowhere)
            return false;
        POINT screen = MessagePoint(message.LParam);
        ClientToScreen(window, &screen);
        if (FPressed) {
            ButtonUp(screen);
        } else {
            FSizingEdge = TFrameHit::Nowhere;
            ReleaseCapture();
        }
        message.Result = 0;
        message.Handled = true;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(message.LParam) != window) {
            FSizingEdge = TFrameHit::Nowhere;
            if (FPressed) {
                FPressed.reset();
                SetHot(std::nullopt);
                PaintNonClient();
            }
        }
        return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        TFrameHitTest hit = HitTestScreen(MessagePoint(message.LParam));
        const bool twice = message.Msg == WM_NCLBUTTONDBLCLK;
        if (hit.Hit == TFrameHit::Button) {
            ButtonDown(hit.Button);
        } else if (hit.Hit == TFrameHit::Icon) {
            // One click opens the system menu, two close the window, as on any window.
            RunCommand(twice ? TspFormCommand::cmClose : TspFormCommand::cmSysMenu, std::nullopt);
        } else if (IsSizingEdge(hit.Hit)) {
            StartSizing(hit.Hit, MessagePoint(message.LParam));
        } else if (hit.Hit == TFrameHit::Caption && twice) {
            RunCommand(TspFormCommand::cmDefault, std::nullopt);
        } else {
            return false; // the caption moves the window
        }
        message.Result = 0;
        message.Handled = true;
        return true;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
            // Maximised, the window fills the work area, not the whole screen.
            info->ptMaxPosition = POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
            info->ptMaxSize = POINT{monitor.rcWork.right - monitor.rcWork.left, monitor.rcWork.bottom - monitor.rcWork.top};
        }
        TSkinFrameLayout layout = Layout();
        info->ptMinTrackSize = POINT{layout.MinimumWidth(), layout.MinimumHeight()};
        message.Result = 0;
        message.Handled = true;
        return true;
    }
    case WM_SETTEXT:
        // Set the text now and draw it; the form's own handling then takes the text as well.
        DefWindowProcW(window, WM_SETTEXT, message.WParam, message.LParam);
        PaintNonClient();
        return false;
    case WM_SETICON:
    case WM_SIZE: InvalidateFrame(); return false;
    case WM_DPICHANGED:
        if (FIcon)
            DestroyIcon(FIcon);
        FIcon = nullptr;
        FIconSize = 0;
        return false;
    case WM_PRINT:
        if (!(message.LParam & PRF_NONCLIENT))
            return false;
        Print(message);
        return true;
    default: return false;
    }
}

void TspDynamicSkinForm::NonClientCalcSize(TMessage& message)
{
    RECT* rect = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(message.LParam);
    const TRect insets = LayoutFor(rect->right - rect->left, rect->bottom - rect->top, Dpi()).Insets();
    rect->left += insets.Left;
    rect->top += insets.Top;
    rect->right = std::max(rect->left, rect->right - insets.Right);
    rect->bottom = std::max(rect->top, rect->bottom - insets.Bottom);
    message.Result = 0;
    message.Handled = true;
}

HICON TspDynamicSkinForm::CaptionIcon(int size)
{
    HWND window = Window();
    if (HICON set = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)))
        return set;
    if (FIcon && FIconSize == size)
        return FIcon;
    if (FIcon)
        DestroyIcon(FIcon);
    // The program's icon drawn at the size wanted, not a 16-pixel one stretched.
    FIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    FIconSize = size;
    if (FIcon)
        return FIcon;
    return reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
}

void TspDynamicSkinForm::PaintFrame(HDC dc)
{
    HWND window = Window();
    RECT rect;
    GetWindowRect(window, &rect);
    TSkinFrameLayout layout = LayoutFor(rect.right - rect.left, rect.bottom - rect.top, Dpi());
    TSkinFrameState state;
    state.Active = FActive;
    const int length = GetWindowTextLengthW(window);
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, caption.data(), length + 1);
    state.Caption = FromWStr(caption.c_str());
    state.Icon = CaptionIcon(layout.IconRect().Width());
    state.Hot = FHot;
    state.Pressed = FPressed;
    state.Maximized = IsZoomed(window);
    state.RolledUp = FRolledUp;
    state.Glow = !FSkinData || FSkinData->ShowCaptionButtonGlowFrame();
    PaintSkinFrame(dc, Painter(Dpi()), layout, state);
}

void TspDynamicSkinForm::PaintNonClient()
{
    HWND window = Window();
    if (!window || !Skinned())
        return;
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    const TRect client = LayoutFor(width, height, Dpi()).ClientRect();
    ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    // Drawn off the screen first, so the caption never flickers.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintFrame(memory);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
}

void TspDynamicSkinForm::Print(TMessage& message)
{
    HWND window = Window();
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    message.Result = 0;
    message.Handled = true;
    if ((message.LParam & PRF_CHECKVISIBLE) && !IsWindowVisible(window))
        return;
    PaintFrame(dc);
    // The client area, with its own origin.
    const TRect insets = Layout().Insets();
    POINT origin{};
    OffsetViewportOrgEx(dc, insets.Left, insets.Top, &origin);
    SendMessageW(window, WM_PRINT, message.WParam, message.LParam & ~PRF_NONCLIENT);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TspDynamicSkinForm::InvalidateFrame()
{
    if (HWND window = Window(); window && Skinned())
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TspDynamicSkinForm::FillClient(HDC dc)
{
    RECT client;
    GetClientRect(Window(), &client);
    Painter(Dpi()).Fill(dc, client, Skin().Element(FSkinDataName).Fill[TSkinState::Normal]);
}

// ---- Caption buttons and sizing ----

void TspDynamicSkinForm::SetHot(std::optional<TCaptionButton> button)
{
    if (FHot == button)
        return;
    FHot = button;
    PaintNonClient();
}

void TspDynamicSkinForm::ButtonDown(TCaptionButton button)
{
    FPressed = button;
    FHot = button;
    SetCapture(Window());
    PaintNonClient();
}

void TspDynamicSkinForm::TrackButton(POINT screen)
{
    TFrameHitTest hit = HitTestScreen(screen);
    const bool over = hit.Hit == TFrameHit::Button && hit.Button == FPressed;
    SetHot(over ? FPressed : std::nullopt);
}

void TspDynamicSkinForm::ButtonUp(POINT screen)
{
    const TCaptionButton button = *FPressed;
    FPressed.reset();
    ReleaseCapture();
    TFrameHitTest hit = HitTestScreen(screen);
    const bool over = hit.Hit == TFrameHit::Button && hit.Button == button;
    FHot = over ? std::optional(button) : std::nullopt;
    PaintNonClient();
    if (over)
        ButtonCommand(button);
}

bool TspDynamicSkinForm::ButtonCommand(TCaptionButton button)
{
    HWND window = Window();
    switch (button) {
    case TCaptionButton::Close: return RunCommand(TspFormCommand::cmClose, std::nullopt);
    case TCaptionButton::Maximize:
        return RunCommand(window && IsZoomed(window) ? TspFormCommand::cmRestore : TspFormCommand::cmMaximize,
            std::nullopt);
    case TCaptionButton::Minimize:
        return RunCommand(
            FMinimizeToTray && FTrayIcon ? TspFormCommand::cmMinimizeToTray : TspFormCommand::cmMinimize, std::nullopt);
    case TCaptionButton::RollUp: return RunCommand(TspFormCommand::cmRollUp, std::nullopt);
    case TCaptionButton::SysMenu: {
        RECT rect;
        GetWindowRect(window, &rect);
        const TRect place = Layout().ButtonRect(TCaptionButton::SysMenu);
        return RunCommand(TspFormCommand::cmSysMenu, POINT{rect.left + place.Left, rect.top + place.Bottom});
    }
    }
    return false;
}

void TspDynamicSkinForm::StartSizing(TFrameHit edge, POINT screen)
{
    HWND window = Window();
    FSizingEdge = edge;
    FSizingStart = screen;
    GetWindowRect(window, &FSizingRect);
    SetCapture(window);
}

void TspDynamicSkinForm::TrackSizing(POINT screen)
{
    const int dx = screen.x - FSizingStart.x, dy = screen.y - FSizingStart.y;
    RECT rect = FSizingRect;
    const TFrameHit edge = FSizingEdge;
    if (edge == TFrameHit::Left || edge == TFrameHit::TopLeft || edge == TFrameHit::BottomLeft)
        rect.left += dx;
    if (edge == TFrameHit::Right || edge == TFrameHit::TopRight || edge == TFrameHit::BottomRight)
        rect.right += dx;
    if (edge == TFrameHit::Top || edge == TFrameHit::TopLeft || edge == TFrameHit::TopRight)
        rect.top += dy;
    if (edge == TFrameHit::Bottom || edge == TFrameHit::BottomLeft || edge == TFrameHit::BottomRight)
        rect.bottom += dy;
    TSkinFrameLayout layout = Layout();
    // The edge held gives way; the opposite one stays.
    if (rect.right - rect.left < layout.MinimumWidth()) {
        if (rect.left != FSizingRect.left)
            rect.left = rect.right - layout.MinimumWidth();
        else
            rect.right = rect.left + layout.MinimumWidth();
    }
    if (rect.bottom - rect.top < layout.MinimumHeight()) {
        if (rect.top != FSizingRect.top)
            rect.top = rect.bottom - layout.MinimumHeight();
        else
            rect.bottom = rect.top + layout.MinimumHeight();
    }
    SetWindowPos(Window(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

TspDynamicSkinForm* NewDialogFrame(TForm* aOwner, TspSkinData* skinData, TDialogFrameButtons buttons)
{
    auto* frame = new TspDynamicSkinForm(aOwner);
    frame->SetName(u"spDynamicSkinForm");
    frame->SetMinimizeButton(false);
    frame->SetMaximizeButton(false);
    frame->SetSizeable(false);
    if (buttons == TDialogFrameButtons::None) {
        frame->SetSysMenuButton(false);
        frame->SetRollUpButton(false);
        frame->SetCloseButton(false);
    }
    frame->SetSkinData(skinData);
    return frame;
}

} // namespace vp
