// The proxy pool of the process: the normal and the super pool as the publisher's
// configuration push leaves them in the settings, the country lookups over them, the
// selection of a proxy not handed out since the last reset, and the location lookup and
// keep-alive requests.
#pragma once

#include "framework/config/SettingsReader.h"
#include "framework/rtl/StringList.h"
#include "proxy/ProxyPoolIndex.h"
#include "proxy/ProxyRec.h"
#include "proxy/UsedProxyList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vp {

// Which pools a selection draws from: the normal pool only; the super pool first, then the
// normal one; or, on two selections in ten chosen at random, as KSuper, else as KNormal.
enum TProxyRange : int32_t { KNormal = 0, KSuper = 1, KAll = 2 };

class TProxyManager;
// Told that a new location reply has been stored; Sender is the manager.
using TOnGetCurrentLocalInfo = std::function<void(TProxyManager* Sender)>;

class TProxyManager {
public:
    // Settings are read through aSettings, which must outlive the manager.
    explicit TProxyManager(ISettingsReader& aSettings);
    TProxyManager(const TProxyManager&) = delete;
    TProxyManager& operator=(const TProxyManager&) = delete;

    // Reads "NORMAL_IPS", "SUPER_IPS", "SUPER_TOUCH" and the stored target country. Entries
    // that cannot be read are left out. True when the normal pool holds an entry.
    bool LoadSettings();

    // Reads entry aIndex of aSL (a pool or a copy of one). An index outside the list, or an
    // entry with fewer than five fields, fills nothing in: false, aRec keeps its contents.
    static bool GetProxyRec(const TStringList& aSL, int32_t aIndex, bool aIsSuper, TProxyRec& aRec);

    // Appends each display name of both pools that aSL does not hold yet (ignoring case), in
    // order of first appearance; nothing happens when aSL is null.
    void GetCountryList(TStringList* aSL) const;
    // Entries with that code (ignoring case), or all entries for exactly "UN".
    int32_t GetcountryListCount(StringView aCountry, bool aIncludeSuper) const;
    // Code of the first entry with that display name; "" when none has it.
    String GetCountryShort(StringView aCountryLong) const;
    // Display name of the first entry with that code; "" when none has it.
    String GetCountryLong(StringView aCountryShort) const;
    // Longitude and latitude of the first entry with that display name; unchanged when none.
    void GetCountryPosition(StringView aCountryLong, String& aLongi, String& aLati) const;
    // Whether some raw normal entry contains aCountry (case-sensitive, anywhere in it).
    bool IsCountryExistsInNormal(StringView aCountry) const;
    // Position of the first raw entry of one pool containing aIP (case-sensitive); -1 when
    // none does or aIP is empty.
    int32_t GetProxyIndex(StringView aIP, bool aIsSuper) const;

    // The proxy to use next for aCountry ("UN": any). With aChange false and a current proxy,
    // that proxy. Otherwise an idle matching entry chosen at random, which joins the used
    // list; when there is none, the current proxy (an empty record when there is none).
    TProxyRec GetIdleProxy(StringView aCountry, bool aClearUsed, TProxyRange aRange, bool aChange);
    // Empties the used list once every matching entry of the normal pool (and of the super
    // pool with aIncludeSuper) has been handed out.
    void OrganizeUsedList(StringView aCountry, bool aIncludeSuper);
    // Shuffles aNSL, and aSSL with aIncludeSuper, in place: four passes, alternating.
    static void RandomSort(TStringList& aNSL, TStringList& aSSL, bool aIncludeSuper);

    // ---- Location lookup and keep-alive requests ----

    // Starts one location lookup and returns at once. A reply that arrives while the
    // manager lives replaces FLocalInfo and raises FOnGetCurrentLocalInfo; a failed lookup
    // changes nothing and is not reported. (Win32)
    void GetCurrentLocalInfo();
    // Starts one keep-alive request for aPR and returns at once; its outcome is ignored.
    // (Win32)
    void Touch(const TProxyRec& aPR);

    // "URL.GetInfo" + "?MagicWord=" + "App.MagicWord", joined as they are.
    String LocalInfoURL();
    // "SUPER_TOUCH", read afresh, with every "{1}" replaced by aPR.IP.
    String TouchURL(const TProxyRec& aPR);
    // The location handler: FLocalInfo := the reply's lines, then FOnGetCurrentLocalInfo.
    void LocalInfoGot(const String& aRet);
    // A value of the location reply ("IP", "COUNTRY_SHORT", ...): the first line with that
    // key, ignoring case; "" when no line has it.
    String LocalInfoValue(StringView aKey) const;

    // The pools as loaded: raw entry texts in the order of the settings values.
    const TStringList& NormalProxyList() const { return FNormalProxyList; }
    const TStringList& SuperProxyList() const { return FSuperProxyList; }

    // The machine's own location as the service last sent it: name=value lines.
    TStringList FLocalInfo;
    // Addresses handed out since the last reset.
    TUsedProxyList FUsedProxyList;
    // The keep-alive address template as read at load.
    String FSuperTouch;
    // The country selection asks for; "UN" means any.
    String FTargetCountry;
    // The proxy in use; empty IP when none. The hide workflow stores selections here.
    TProxyRec FTargetProxy;
    // Called on the user-interface thread when a location reply has been stored.
    TOnGetCurrentLocalInfo FOnGetCurrentLocalInfo;

private:
    // The country a count or a selection asks for.
    struct TCountryFilter {
        explicit TCountryFilter(StringView aCountry);
        bool Accepts(const String& aCountryKey) const { return Any || aCountryKey == Key; }

        bool Any;
        String Key;
    };

    void LoadPool(StringView aKey, TStringList& aList);
    const TStringList& Pool(bool aSuper) const { return aSuper ? FSuperProxyList : FNormalProxyList; }
    bool ReadEntry(TPoolEntryRef aRef, TProxyRec& aRec) const;
    int32_t CountMatching(bool aSuper, const TCountryFilter& aFilter) const;
    bool HasIdle(bool aSuper, const TCountryFilter& aFilter) const;
    bool TakeIdle(
        const std::vector<int32_t>& aOrder, bool aSuper, const TCountryFilter& aFilter, TProxyRec& aRec);

    ISettingsReader& FSettings;
    TStringList FNormalProxyList;
    TStringList FSuperProxyList;
    TProxyPoolIndex FIndex;
    // Requests still on their way hold a weak reference: a reply that arrives after the
    // manager has gone is dropped.
    std::shared_ptr<TProxyManager*> FAlive = std::make_shared<TProxyManager*>(this);
};

} // namespace vp
