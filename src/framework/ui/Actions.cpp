#include "framework/ui/Actions.h"

#include <algorithm>

namespace vp {

// ---- TAction ----

const TClassInfo& TAction::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TAction, TComponent>(u"TAction")
            .WideText(u"Caption", u"TCaption", &TAction::Caption, &TAction::SetCaption)
            .WideText(u"Hint", u"string", &TAction::Hint, &TAction::SetHint)
            .WideText(u"Category", u"string", &TAction::Category, &TAction::SetCategory)
            .Other(u"Checked", u"Boolean")
            .Other(u"Enabled", u"Boolean")
            .Other(u"Visible", u"Boolean")
            .Other(u"ActionList", u"TCustomActionList")
            .Other(u"OnExecute", u"TNotifyEvent")
            .Build();
    return info;
}

TAction::TAction(TComponent* aOwner) : TComponent(aOwner)
{
}

void TAction::SetCaption(const String& value)
{
    if (value == FCaption)
        return;
    FCaption = value;
    Changed();
}

void TAction::SetHint(const String& value)
{
    if (value == FHint)
        return;
    FHint = value;
    Changed();
}

void TAction::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    Changed();
}

void TAction::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Changed();
}

void TAction::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed();
}

void TAction::SetActionList(TActionManager* value)
{
    if (value == FActionList)
        return;
    if (FActionList) {
        auto& list = FActionList->FActions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        RemoveFreeNotification(FActionList);
    }
    FActionList = value;
    if (FActionList) {
        FActionList->FActions.push_back(this);
        FreeNotification(FActionList);
    }
}

bool TAction::Execute()
{
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TAction::RegisterClient(TComponent* client)
{
    if (!client || std::find(FClients.begin(), FClients.end(), client) != FClients.end())
        return;
    FClients.push_back(client);
    FreeNotification(client);
}

void TAction::UnregisterClient(TComponent* client)
{
    auto found = std::find(FClients.begin(), FClients.end(), client);
    if (found == FClients.end())
        return;
    FClients.erase(found);
    RemoveFreeNotification(client);
}

void TAction::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    FClients.erase(std::remove(FClients.begin(), FClients.end(), aComponent), FClients.end());
    if (aComponent == FActionList)
        FActionList = nullptr;
}

void TAction::Changed()
{
    std::vector<TComponent*> clients = FClients;
    for (TComponent* client : clients)
        if (std::find(FClients.begin(), FClients.end(), client) != FClients.end())
            if (auto* bound = dynamic_cast<IActionClient*>(client))
                bound->ActionChanged(this);
}

// ---- TActionManager ----

const TClassInfo& TActionManager::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TActionManager, TComponent>(u"TActionManager").Build();
    return info;
}

TActionManager::TActionManager(TComponent* aOwner) : TComponent(aOwner)
{
}

TActionManager::~TActionManager()
{
    for (TAction* action : std::vector<TAction*>(FActions))
        action->SetActionList(nullptr);
}

void TActionManager::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation == TOperation::Remove)
        FActions.erase(std::remove(FActions.begin(), FActions.end(), aComponent), FActions.end());
}

TAction* TActionManager::FindAction(StringView name) const
{
    for (TAction* action : FActions)
        if (SameText(action->Name(), name))
            return action;
    return nullptr;
}

} // namespace vp
