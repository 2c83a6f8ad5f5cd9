// TComponent: a named object with an owner. An owner deletes the components it owns, in
// reverse order of creation; a component can ask to be told when another one goes.
#pragma once

#include "framework/rtl/Persistent.h"

#include <vector>

namespace vp {

enum class TOperation { Insert, Remove };

class TComponent : public TPersistent {
    VP_CLASS(TComponent)
public:
    explicit TComponent(TComponent* aOwner);
    ~TComponent() override;

    String Name() const { return FName; }
    void SetName(const String& value) { FName = value; }
    TComponent* Owner() const { return FOwner; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // Raises EListError for an index outside 0..ComponentCount-1.
    TComponent* Components(int index) const;
    TComponent* FindComponent(StringView name) const;

    // A component is loading until Loaded() runs when it is made as part of a description:
    // without an owner, or while its owner is loading. One made by code after its owner has
    // loaded is ready at once. Designing is a state a designer sets (never at run time).
    bool IsLoading() const { return FLoading; }
    bool IsDesigning() const { return FDesigning; }
    bool IsDestroying() const { return FDestroying; }
    void SetDesigning(bool value);

    // Called once the component and its owner's other components exist.
    virtual void Loaded();

    // Ask to get Notification(this, Remove) when component goes; mutual and cleared on death.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }

protected:
    // A window built from its description starts loading even when its owner has loaded.
    void BeginLoading() { FLoading = true; }

    // Deletes the owned components now, newest first. A class whose own fields those
    // components use while they go (a window and its hooks) calls this in its destructor.
    void DestroyComponents();

    // Told when an owned component is inserted or removed, and when a component this one
    // asked about is destroyed.
    virtual void Notification(TComponent* aComponent, TOperation operation);

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    String FName;
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    bool FLoading = true;
    bool FDesigning = false;
    bool FDestroying = false;
    int FTag = 0;
};

// Finishes the creation of a component tree: Loaded() of the root, then of every component
// it owns (and they own), in creation order.
void LoadComponentTree(TComponent& root);

} // namespace vp
