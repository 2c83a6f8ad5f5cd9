// The windows whose texts make up a language file. Each window is registered with a factory
// that builds it as designed (its components and their texts, not loaded); collecting builds
// the windows one after another, walks each with its binder and frees it again.
#pragma once

#include "framework/rtl/Component.h"

#include <functional>
#include <memory>
#include <vector>

namespace vp {

class TCLMultiLangData;

class TLangWindowList {
public:
    using TFactory = std::function<std::unique_ptr<TComponent>()>;
    struct TEntry {
        String ClassName;
        TFactory Create;
    };

    // A class name added again (compared without regard to case) replaces the earlier factory.
    void Add(const String& className, TFactory factory);
    const std::vector<TEntry>& Entries() const { return FEntries; }

    // Collects the texts of every window into the current language of data, in the order of
    // registration, through the window's own binder or, when it has none, a temporary one.
    // The windows are in design state meanwhile, so errors of collecting are shown.
    void CollectInto(TCLMultiLangData& data) const;

private:
    std::vector<TEntry> FEntries;
};

// The program's windows.
TLangWindowList& LangWindows();

} // namespace vp
