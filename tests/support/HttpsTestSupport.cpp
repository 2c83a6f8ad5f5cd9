#include "support/HttpsTestSupport.h"

#include "framework/rtl/FileUtils.h"

#include <cstdlib>
#include <vector>

namespace vptest {

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

vp::String HttpsURL(const char* portVariable, const char* path)
{
    return vp::Utf8ToU16("https://127.0.0.1:" + Env(portVariable) + path);
}

bool HttpsServersRunning()
{
    return !Env("VP_HTTPS_GOOD_PORT").empty() && !Env("VP_HTTPS_WRONG_PORT").empty() &&
        !Env("VP_HTTPS_CA").empty();
}

TTrustedAuthority::TTrustedAuthority()
{
    if (!HttpsServersRunning())
        return;
    std::string pem = vp::ReadAllBytes(vp::Utf8ToU16(Env("VP_HTTPS_CA")));
    DWORD size = 0;
    CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr,
        &size, nullptr, nullptr);
    std::vector<BYTE> der(size);
    if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER,
            der.data(), &size, nullptr, nullptr))
        return;
    FStore = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    if (FStore &&
        CertAddEncodedCertificateToStore(
            FStore, X509_ASN_ENCODING, der.data(), size, CERT_STORE_ADD_REPLACE_EXISTING, &FCertificate))
        CertControlStore(FStore, 0, CERT_STORE_CTRL_COMMIT, nullptr);
}

TTrustedAuthority::~TTrustedAuthority()
{
    if (FCertificate) {
        CertDeleteCertificateFromStore(FCertificate); // frees the context too
        CertControlStore(FStore, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
    if (FStore)
        CertCloseStore(FStore, 0);
}

} // namespace vptest
