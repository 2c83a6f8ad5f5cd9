#include "framework/rtl/Component.h"

#include "framework/rtl/Exceptions.h"

#include <algorithm>

namespace vp {

const TClassInfo& TComponent::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TComponent, TPersistent>(u"TComponent")
            .WideText(u"Name", u"TComponentName", &TComponent::Name, &TComponent::SetName)
            .Other(u"Tag", u"Integer")
            .Build();
    return info;
}

TComponent::TComponent(TComponent* aOwner) : FLoading(aOwner ? aOwner->IsLoading() : true)
{
    if (aOwner)
        aOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FDestroying = true;
    // Tell everyone who asked, then forget them, so nobody keeps a pointer to this object.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& theirs = other->FFreeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::Remove);
    }
    while (!FComponents.empty())
        delete FComponents.back(); // removes itself from this list
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    bool wasDestroying = FDestroying;
    FDestroying = true;
    while (!FComponents.empty())
        delete FComponents.back(); // removes itself from this list
    FDestroying = wasDestroying;
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError::IndexOutOfBounds(index);
    return FComponents[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(StringView name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, name))
            return component;
    return nullptr;
}

void TComponent::SetDesigning(bool value)
{
    FDesigning = value;
    for (TComponent* component : FComponents)
        component->SetDesigning(value);
}

void TComponent::Loaded()
{
    FLoading = false;
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    auto& theirs = component->FFreeNotifies;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end())
        theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    FFreeNotifies.erase(
        std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component), FFreeNotifies.end());
    auto& theirs = component->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent*, TOperation)
{
}

void TComponent::InsertComponent(TComponent* component)
{
    component->FOwner = this;
    component->FDesigning = FDesigning;
    FComponents.push_back(component);
    Notification(component, TOperation::Insert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    component->FOwner = nullptr;
    if (!FDestroying)
        Notification(component, TOperation::Remove);
}

namespace {

void LoadOwned(TComponent& owner)
{
    // Loaded() may create components; walk by index so they are reached too.
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* component = owner.Components(i);
        if (component->IsLoading())
            component->Loaded();
        LoadOwned(*component);
    }
}

} // namespace

void LoadComponentTree(TComponent& root)
{
    if (root.IsLoading())
        root.Loaded();
    LoadOwned(root);
}

} // namespace vp
