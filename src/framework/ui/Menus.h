// TMenuItem: one entry of a menu, with its sub-items. Items are components of the window
// (so the language binding translates their captions) and are placed in a menu's item tree;
// a caption of "-" makes a separator. An item bound to an action takes the action's caption,
// hint and states, follows them as they change, and runs the action when chosen.
#pragma once

#include "framework/rtl/Component.h"
#include "framework/ui/Actions.h"

#include <vector>

namespace vp {

class TMenuItem : public TComponent, public IActionClient {
    VP_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* aOwner);
    ~TMenuItem() override;

    // "&" marks the accelerator; "-" makes the item a separator.
    String Caption() const { return FCaption; }
    void SetCaption(const String& value) { FCaption = value; }
    bool IsLine() const { return FCaption == u"-"; }
    String Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    // Binding to another action (or to none) takes that action's caption, states and effect.
    TAction* Action() const { return FAction; }
    void SetAction(TAction* value);

    // The sub-items, in menu order. An item sits in one parent at a time; adding it elsewhere
    // moves it. The parent does not own its items: their owner (the window) does.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    void Add(TMenuItem* item) { Insert(Count(), item); }
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;

    // What choosing the item does: OnClick when set, else the action's OnExecute.
    virtual void Click();
    TNotifyEvent OnClick;

    void ActionChanged(TAction* action) override;

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    String FCaption;
    String FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TAction* FAction = nullptr;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
};

} // namespace vp
