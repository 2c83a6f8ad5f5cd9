// TspTrayIcon: the program's icon in the notification area, with a hint, a skinned pop-up
// menu and a click event. It talks to the shell through a hidden top-level window of its own
// (only top-level windows hear "TaskbarCreated", so the icon comes back by itself when the
// shell restarts) in the shell's version 4 protocol, so the keyboard works too (Enter or
// Space on the icon is a click, the menu key opens its menu).
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/ui/Messages.h"

#include <memory>

namespace vp {

class TspSkinPopupMenu;
class TWinControl;

class TspTrayIcon : public TComponent {
    VP_CLASS(TspTrayIcon)
public:
    explicit TspTrayIcon(TComponent* aOwner);
    ~TspTrayIcon() override;

    // The tooltip (the shell shows up to 127 characters).
    String Hint() const { return FHint; }
    void SetHint(const String& value);
    TspSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TspSkinPopupMenu* value);
    // In the notification area.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Answers clicks and the keyboard and shows its menu.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }

    // The icon: an ".ico" file, or the program's own (resource 1, the default). False when
    // the file gives no icon; the icon shown stays then.
    bool LoadIconFromFile(StringView fileName);
    void UseProgramIcon();
    HICON Icon() const { return FIcon; }

    // A click, Enter or Space on the icon.
    TNotifyEvent OnClick;
    // Opens the pop-up menu at a point of the screen, as a right click does.
    void ShowMenu(POINT at);

    // The shell knows the icon now.
    bool Shown() const { return FShown; }
    // The hidden window and the icon's number, as the shell knows them (tests).
    HWND Handle() const;
    static constexpr UINT kIconId = 1;
    // The message the shell sends the hidden window about the icon.
    static constexpr UINT kCallbackMessage = WM_APP + 0x120;

    void Loaded() override;

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    bool HostMessage(TMessage& message);
    void Update();
    bool Add();
    void Remove();
    void Modify();
    void IconEvent(UINT event, POINT anchor);
    void SetIcon(HICON icon);

    String FHint;
    TspSkinPopupMenu* FPopupMenu = nullptr;
    bool FVisible = false;
    bool FEnabled = true;
    bool FShown = false;
    bool FVersion4 = false;
    HICON FIcon = nullptr; // owned
    UINT FTaskbarCreated = 0;
    DWORD FLastKeySelect = 0;
    std::unique_ptr<TWinControl> FHost;
};

} // namespace vp
