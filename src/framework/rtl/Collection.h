// TCollection: an owned, ordered list of items that publish properties of their own
// (a list view's columns, for example).
#pragma once

#include "framework/rtl/Persistent.h"

#include <functional>
#include <memory>
#include <vector>

namespace vp {

class TCollection;

class TCollectionItem : public TPersistent {
    VP_CLASS(TCollectionItem)
public:
    explicit TCollectionItem(TCollection* collection) : FCollection(collection) { }
    TCollection* Collection() const { return FCollection; }
    int Index() const;

private:
    TCollection* FCollection;
};

class TCollection : public TPersistent {
    VP_CLASS(TCollection)
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>(TCollection*)>;

    explicit TCollection(TItemFactory factory);

    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError for an index outside 0..Count-1.
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    void Delete(int index);
    void Clear()
    {
        FItems.clear();
        Changed();
    }
    // Called after items were added or removed (controls mirror their items into Win32).
    std::function<void()> OnChange;

private:
    void Changed();

    TItemFactory FFactory;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
};

// A collection whose items are of one class.
template <class Item>
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection() : TCollection([](TCollection* c) { return std::make_unique<Item>(c); }) { }
    Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }
    Item* Add() { return static_cast<Item*>(TCollection::Add()); }
};

} // namespace vp
