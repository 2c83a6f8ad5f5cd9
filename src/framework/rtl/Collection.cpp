#include "framework/rtl/Collection.h"

#include "framework/rtl/Exceptions.h"

namespace vp {

const TClassInfo& TCollectionItem::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCollectionItem, TPersistent>(u"TCollectionItem").Build();
    return info;
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this)
            return i;
    return -1;
}

const TClassInfo& TCollection::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCollection, TPersistent>(u"TCollection").Build();
    return info;
}

TCollection::TCollection(TItemFactory factory) : FFactory(std::move(factory))
{
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    return FItems[static_cast<size_t>(index)].get();
}

TCollectionItem* TCollection::Add()
{
    FItems.push_back(FFactory(this));
    Changed();
    return FItems.back().get();
}

void TCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TCollection::Changed()
{
    if (OnChange)
        OnChange();
}

} // namespace vp
