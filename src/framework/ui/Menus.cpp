#include "framework/ui/Menus.h"

#include "framework/rtl/Exceptions.h"

#include <algorithm>

namespace vp {

const TClassInfo& TMenuItem::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TMenuItem, TComponent>(u"TMenuItem")
            .Object(u"Action", u"TBasicAction", &TMenuItem::Action, &TMenuItem::SetAction)
            .WideText(u"Caption", u"TCaption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Other(u"Checked", u"Boolean")
            .Other(u"Enabled", u"Boolean")
            .WideText(u"Hint", u"string", &TMenuItem::Hint, &TMenuItem::SetHint)
            .Other(u"Visible", u"Boolean")
            .Other(u"OnClick", u"TNotifyEvent")
            .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* aOwner) : TComponent(aOwner)
{
}

TMenuItem::~TMenuItem()
{
    if (FParent)
        FParent->Remove(this);
    for (TMenuItem* item : FItems)
        item->FParent = nullptr;
    FItems.clear();
    SetAction(nullptr);
}

void TMenuItem::SetAction(TAction* value)
{
    if (value == FAction)
        return;
    if (FAction) {
        FAction->UnregisterClient(this);
        RemoveFreeNotification(FAction);
    }
    FAction = value;
    if (FAction) {
        FreeNotification(FAction);
        FAction->RegisterClient(this);
        ActionChanged(FAction);
    }
}

void TMenuItem::ActionChanged(TAction* action)
{
    if (action != FAction || !action)
        return;
    FCaption = action->Caption();
    FHint = action->Hint();
    FChecked = action->Checked();
    FEnabled = action->Enabled();
    FVisible = action->Visible();
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(u"Menu item index out of bounds (" + IntToStr(index) + u")");
    return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    for (const TMenuItem* up = this; up; up = up->FParent)
        if (up == item)
            throw Exception(u"A menu item cannot hold itself");
    if (item->FParent)
        item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto found = std::find(FItems.begin(), FItems.end(), item);
    if (found == FItems.end())
        return;
    FItems.erase(found);
    item->FParent = nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto found = std::find(FItems.begin(), FItems.end(), item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

void TMenuItem::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FAction)
        FAction = nullptr;
}

} // namespace vp
