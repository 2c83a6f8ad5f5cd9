// Commands as objects: a TAction has a caption (with an & accelerator), a hint, checked,
// enabled and visible states and an OnExecute handler. Buttons and menu items bound to an
// action take its caption, state and effect, and follow it when it changes; binding one to
// another action changes caption and effect together.
#pragma once

#include "framework/rtl/Component.h"

#include <vector>

namespace vp {

class TAction;
class TActionManager;

// A control or menu item an action drives.
class IActionClient {
public:
    virtual ~IActionClient() = default;
    // The action's caption, hint or a state changed (or the client was bound to it).
    virtual void ActionChanged(TAction* action) = 0;
};

class TAction : public TComponent {
    VP_CLASS(TAction)
public:
    explicit TAction(TComponent* aOwner);

    String Caption() const { return FCaption; }
    void SetCaption(const String& value);
    String Hint() const { return FHint; }
    void SetHint(const String& value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    String Category() const { return FCategory; }
    void SetCategory(const String& value) { FCategory = value; }

    // The manager that lists the action, or nullptr.
    TActionManager* ActionList() const { return FActionList; }
    void SetActionList(TActionManager* value);

    // Runs OnExecute when the action is enabled; true when it ran.
    bool Execute();
    TNotifyEvent OnExecute;

    // Called by clients as they bind and unbind.
    void RegisterClient(TComponent* client);
    void UnregisterClient(TComponent* client);

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    void Changed();

    String FCaption;
    String FHint;
    String FCategory;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TActionManager* FActionList = nullptr;
    std::vector<TComponent*> FClients;
};

// Lists the actions of a window (the design's action manager).
class TActionManager : public TComponent {
    VP_CLASS(TActionManager)
public:
    explicit TActionManager(TComponent* aOwner);
    ~TActionManager() override;

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int index) const { return FActions[static_cast<size_t>(index)]; }
    // The listed action of that name (without regard to case), or nullptr.
    TAction* FindAction(StringView name) const;

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

} // namespace vp
