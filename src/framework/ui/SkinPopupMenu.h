// TspSkinPopupMenu: a pop-up menu drawn from the skin. Popup shows a real Win32 menu whose
// items are drawn by the menu itself (items, the highlighted item, separators, check marks,
// accelerators underlined once the keyboard is used, disabled items, the gutter) at the DPI
// of the monitor it opens on; the keyboard works as in any menu.
#pragma once

#include <windows.h>

#include "framework/ui/Menus.h"
#include "framework/ui/Messages.h"
#include "framework/ui/SkinData.h"

#include <memory>
#include <vector>

namespace vp {

class TWinControl;

class TspSkinPopupMenu : public TComponent {
    VP_CLASS(TspSkinPopupMenu)
public:
    explicit TspSkinPopupMenu(TComponent* aOwner);
    ~TspSkinPopupMenu() override;

    // The menu's root item, owned by the menu; the items under it are the window's components.
    TMenuItem* Items() const { return FItems; }

    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    // The element of the menu box ("PopupMenu"); items, separators and check marks are its
    // ".Item", ".Separator" and ".Check".
    String SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& value) { FSkinDataName = value; }

    // Shows the menu at a point of the screen and returns once it has closed; the chosen
    // item's Click runs after that. True when an item was chosen.
    bool Popup(int x, int y) { return PopupFor(nullptr, x, y); }
    // The same on behalf of a window (a tray icon's, a form's): that window comes to the
    // foreground first, so the menu closes when the user clicks elsewhere. alignment: the
    // TPM_ flags that place the menu around the point.
    bool PopupFor(HWND window, int x, int y, UINT alignment = TPM_LEFTALIGN | TPM_TOPALIGN);
    // Runs before the menu opens, so item states can be brought up to date.
    TNotifyEvent OnPopup;
    // The menu is open.
    bool Active() const { return FActive; }
    // The DPI the menu is drawn at while open (and after, the last one).
    UINT PopupDpi() const { return FDpi; }

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    struct TOpenMenu {
        HMENU Handle = nullptr;
        std::vector<TMenuItem*> Items; // by position in the Win32 menu
    };

    HMENU BuildMenu(const TMenuItem& parent);
    void ForgetItem(TComponent* item);
    bool HostMessage(TMessage& message);
    void MeasureItem(MEASUREITEMSTRUCT& measure);
    void DrawItem(const DRAWITEMSTRUCT& draw);
    LRESULT MenuChar(char16_t key, HMENU menu) const;
    const TSkinElement& Element(StringView part) const;

    TMenuItem* FItems = nullptr;
    TspSkinData* FSkinData = nullptr;
    String FSkinDataName;
    std::unique_ptr<TWinControl> FHost; // receives the menu's drawing messages
    bool FActive = false;
    UINT FDpi = 96;
    std::vector<TOpenMenu> FOpen;
    std::vector<TMenuItem*> FCommands; // command id - 1
    std::unique_ptr<TSkinResources> FFallback; // the built-in look, without skin data
};

} // namespace vp
