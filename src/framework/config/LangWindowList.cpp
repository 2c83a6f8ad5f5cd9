#include "framework/config/LangWindowList.h"

#include "framework/config/CLMultiLang.h"

#include <algorithm>

namespace vp {

namespace {

TCLMultiLang* FindBinder(TComponent& window)
{
    for (int i = 0; i < window.ComponentCount(); ++i)
        if (auto* binder = dynamic_cast<TCLMultiLang*>(window.Components(i)))
            return binder;
    return nullptr;
}

} // namespace

void TLangWindowList::Add(const String& className, TFactory factory)
{
    auto same = std::find_if(FEntries.begin(), FEntries.end(),
        [&](const TEntry& entry) { return SameText(entry.ClassName, className); });
    if (same != FEntries.end())
        same->Create = std::move(factory);
    else
        FEntries.push_back({className, std::move(factory)});
}

void TLangWindowList::CollectInto(TCLMultiLangData& data) const
{
    for (const TEntry& entry : FEntries) {
        std::unique_ptr<TComponent> window = entry.Create ? entry.Create() : nullptr;
        if (!window)
            continue;
        window->SetDesigning(true);
        TCLMultiLang* binder = FindBinder(*window);
        if (!binder)
            binder = new TCLMultiLang(window.get()); // freed with the window
        TCLMultiLangData* own = binder->LanguageData();
        binder->SetLanguageData(&data);
        binder->UpdateData();
        binder->SetLanguageData(own);
    }
}

TLangWindowList& LangWindows()
{
    static TLangWindowList list;
    return list;
}

} // namespace vp
