// TspDynamicSkinForm: a non-visual component on a form that draws the form's frame from the
// skin by taking part in the form's messages: caption bar with icon and title, border, and
// the caption buttons the form asks for. It raises OnSkinFormObjectCommand before it carries
// out any caption-button or system-menu command, shows the system menu as a skinned pop-up
// menu, and sends the window to the tray and back.
//
// The skinned window has no system caption or border at all (a pop-up window with a system
// menu): its frame is a non-client area the component sizes (WM_NCCALCSIZE), hit-tests and
// paints itself. So neither Windows' themed frame nor an X window manager under Wine draws
// anything of its own over it. When the skin keeps the system frame (SkinnableForm off), the
// form keeps its own styles and only the client area is skinned.
#pragma once

#include <windows.h>

#include "framework/ui/Forms.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinFrameLayout.h"

#include <memory>
#include <optional>

namespace vp {

class TspSkinPopupMenu;
class TspTrayIcon;

// The commands of the caption buttons and the system menu. cmDefault is a double click on
// the caption (maximise or restore, else roll up or down, as the buttons allow).
enum class TspFormCommand {
    cmClose,
    cmMinimize,
    cmMaximize,
    cmRestore,
    cmRollUp,
    cmSysMenu,
    cmDefault,
    cmMinimizeToTray,
};
using TspSkinFormObjectCommandEvent = std::function<void(TspFormCommand Command, bool& bCancel)>;

class TspDynamicSkinForm : public TComponent, public ISkinClient, private IFormFrame {
    VP_CLASS(TspDynamicSkinForm)
public:
    // The owner must be a form.
    explicit TspDynamicSkinForm(TComponent* aOwner);
    ~TspDynamicSkinForm() override;

    TForm* Form() const { return FForm; }
    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    // The element of the client area ("Form"); the frame draws "Form.Caption", "Form.Border"
    // (and their ".Inactive") and the "CaptionButton." elements.
    String SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& value);

    // The caption buttons. Without its button, maximising, minimising and rolling up are
    // refused too; closing is not (Alt+F4 closes as with any window), and the system menu
    // (Alt+Space, the icon, a right click on the caption) is there either way.
    bool SysMenuButton() const { return FSysMenuButton; }
    void SetSysMenuButton(bool value) { SetFlag(FSysMenuButton, value); }
    bool MinimizeButton() const { return FMinimizeButton; }
    void SetMinimizeButton(bool value) { SetFlag(FMinimizeButton, value); }
    bool MaximizeButton() const { return FMaximizeButton; }
    void SetMaximizeButton(bool value) { SetFlag(FMaximizeButton, value); }
    bool RollUpButton() const { return FRollUpButton; }
    void SetRollUpButton(bool value) { SetFlag(FRollUpButton, value); }
    bool CloseButton() const { return FCloseButton; }
    void SetCloseButton(bool value) { SetFlag(FCloseButton, value); }
    bool Sizeable() const { return FSizeable; }
    void SetSizeable(bool value) { SetFlag(FSizeable, value); }

    // The system menu; without one, a built-in menu (restore, minimise, maximise, roll up,
    // close, minimise to tray) in the toolkit's texts.
    TspSkinPopupMenu* SysMenu() const { return FSysMenu; }
    void SetSysMenu(TspSkinPopupMenu* value);
    // The tray icon the window goes to; with AlwaysShowTrayIcon it shows all the time, else
    // only while the window is in the tray.
    TspTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TspTrayIcon* value);
    bool AlwaysShowTrayIcon() const { return FAlwaysShowTrayIcon; }
    void SetAlwaysShowTrayIcon(bool value);
    // The minimise command sends the window to the tray (when there is a tray icon).
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool value) { FMinimizeToTray = value; }

    // Raised before each command of the caption buttons and the system menu is carried out;
    // setting bCancel keeps it from happening.
    TspSkinFormObjectCommandEvent OnSkinFormObjectCommand;
    // Raises the event, then carries the command out unless it was cancelled or the frame
    // does not offer it. True when it was carried out.
    bool ExecuteCommand(TspFormCommand Command);

    // Sends the window to the tray: hidden, its tray icon showing.
    void MinimizeWindowToTray();
    // Back from the tray (or from the task bar): shown, restored and in the foreground. False
    // when the form has no window.
    bool RestoreFromTray();
    bool InTray() const { return FInTray; }
    // Only the caption shows while rolled up.
    bool RolledUp() const { return FRolledUp; }
    void SetRolledUp(bool value);
    // Shows the system menu at a point of the screen (below the icon when none is given).
    void ShowSysMenu(std::optional<POINT> at = std::nullopt);

    // The frame is drawn from the skin now (skin data set, its skinnable-form flag on, and
    // the form has a border: a borderless form keeps its styles and gets its client area only).
    bool Skinned() const;
    // The frame's parts for the window as it is now.
    TSkinFrameLayout Layout() const;
    // The caption button under the pointer, and the one held down.
    std::optional<TCaptionButton> HotButton() const { return FHot; }

    void SkinChanged() override;
    void Loaded() override;

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    void AdjustFrameStyle(DWORD& style, DWORD& exStyle) override;
    RECT FrameRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) override;
    void FormCreated() override;

    void SetFlag(bool& flag, bool value);
    bool Borderless() const;
    bool Offered(TspFormCommand command) const;
    bool RunCommand(TspFormCommand command, std::optional<POINT> at);
    String ResText(StringView name) const;
    const TSkinDefinition& Skin() const;
    TSkinPainter Painter(UINT dpi) const;
    TSkinFrameLayout LayoutFor(int width, int height, UINT dpi) const;
    TCaptionButtonSet Buttons() const;
    UINT Dpi() const;
    HWND Window() const;
    void HookMessage(TMessage& message);
    bool SkinnedMessage(TMessage& message);
    bool SysCommand(TMessage& message);
    void NonClientCalcSize(TMessage& message);
    void PaintFrame(HDC dc);
    void PaintNonClient();
    void Print(TMessage& message);
    void InvalidateFrame();
    void SetHot(std::optional<TCaptionButton> button);
    void ButtonDown(TCaptionButton button);
    void TrackButton(POINT screen);
    void ButtonUp(POINT screen);
    void StartSizing(TFrameHit edge, POINT screen);
    void TrackSizing(POINT screen);
    bool ButtonCommand(TCaptionButton button);
    void FillClient(HDC dc);
    void ApplyTrayIcon();
    HICON CaptionIcon(int size);
    TspSkinPopupMenu& BuiltinSysMenu();
    TFrameHitTest HitTestScreen(POINT screen) const;

    TForm* FForm = nullptr;
    THookToken FHook;
    TspSkinData* FSkinData = nullptr;
    String FSkinDataName;
    bool FSysMenuButton = true;
    bool FMinimizeButton = true;
    bool FMaximizeButton = true;
    bool FRollUpButton = false;
    bool FCloseButton = true;
    bool FSizeable = true;
    bool FAlwaysShowTrayIcon = false;
    bool FMinimizeToTray = false;
    TspSkinPopupMenu* FSysMenu = nullptr;
    TspSkinPopupMenu* FBuiltinSysMenu = nullptr; // owned, made on first use
    TspTrayIcon* FTrayIcon = nullptr;

    bool FSkinnedNow = false; // the styles the window has are the skinned ones
    bool FActive = false;
    bool FInTray = false;
    bool FTrayIconShownForTray = false;
    bool FRolledUp = false;
    int FUnrolledHeight = 0; // pixels
    std::optional<TCaptionButton> FHot;
    std::optional<TCaptionButton> FPressed;
    bool FTrackingLeave = false;
    // Sizing by the edges: the edge held, where the pointer and the window started.
    TFrameHit FSizingEdge = TFrameHit::Nowhere;
    POINT FSizingStart{};
    RECT FSizingRect{};
    // The caption icon at its size, loaded from the program's icon.
    HICON FIcon = nullptr;
    int FIconSize = 0;
    std::unique_ptr<TSkinResources> FFallback; // the built-in look, without skin data
};

// The skinned frame of a fixed dialog, named "spDynamicSkinForm": no sizing, no minimise or
// maximise button; with the system menu and close button, or with no caption button at all.
enum class TDialogFrameButtons { SysMenuAndClose, None };
TspDynamicSkinForm* NewDialogFrame(TForm* aOwner, TspSkinData* skinData, TDialogFrameButtons buttons);

} // namespace vp
