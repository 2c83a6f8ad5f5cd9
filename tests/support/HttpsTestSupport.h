// What the HTTPS tests share: the servers that run_with_https_servers.sh starts beside the
// test program, and the test authority that issued their certificates.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "framework/rtl/RtlText.h"

#include <string>

namespace vptest {

// An address on one of the two servers: portVariable is "VP_HTTPS_GOOD_PORT" (certificate
// for 127.0.0.1) or "VP_HTTPS_WRONG_PORT" (certificate for another host name).
vp::String HttpsURL(const char* portVariable, const char* path);
// The script has started the servers.
bool HttpsServersRunning();

// The test authority in the current user's root store while the object lives. Changes are
// committed at once: the certificate check reads the store afresh.
class TTrustedAuthority {
public:
    TTrustedAuthority();
    ~TTrustedAuthority();
    TTrustedAuthority(const TTrustedAuthority&) = delete;
    TTrustedAuthority& operator=(const TTrustedAuthority&) = delete;

    bool Trusted() const { return FCertificate != nullptr; }

private:
    HCERTSTORE FStore = nullptr;
    PCCERT_CONTEXT FCertificate = nullptr;
};

} // namespace vptest
