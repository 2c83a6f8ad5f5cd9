#include "browsers/IEProxyWin.h"

#include <windows.h>
#include <wininet.h>

#include "framework/config/CLSettings.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"

#include <vector>

namespace vp {

namespace {

// WinINet takes the option texts as writable pointers.
std::vector<wchar_t> WritableText(StringView text)
{
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(0);
    return buffer;
}

} // namespace

void SetIEProxy(StringView aProxy)
{
    try {
        String proxy = GetCLSettings().GetSettingBool(u"SWITCH.IE") ? String(aProxy) : String();
        if (proxy.empty())
            SetInternetProxyOption(false, u"", u"");
        else
            SetInternetProxyOption(true, u"", proxy);
        WriteIEProxyRegistry(proxy);
    } catch (...) {
        // The switch reports nothing: a failed step only skips the steps after it.
    }
}

bool SetInternetProxyOption(bool aUseProxy, StringView aBypass, StringView aServer)
{
    std::vector<wchar_t> bypass = WritableText(aBypass);
    std::vector<wchar_t> server = WritableText(aServer);

    INTERNET_PER_CONN_OPTIONW options[3] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[0].Value.dwValue = aUseProxy ? PROXY_TYPE_PROXY : PROXY_TYPE_DIRECT;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[1].Value.pszValue = bypass.data();
    options[2].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[2].Value.pszValue = server.data();

    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = nullptr; // the default (LAN) connection
    list.dwOptionCount = 3;
    list.dwOptionError = 0;
    list.pOptions = options;
    return InternetSetOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list)) != FALSE;
}

void WriteIEProxyRegistry(StringView aProxy)
{
    String keyPath(kInternetSettingsKey);
    TRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
            nullptr) != ERROR_SUCCESS)
        return;
    String server = IEProxyServerText(aProxy);
    DWORD enable = aProxy.empty() ? 0 : 1;
    RegSetValueExW(key.Get(), L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
        static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key.Get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
}

} // namespace vp
