// Finding the Firefox executable: the stored "FireFoxPath" when its file exists, else the
// registered Firefox, an installation of Glimmerpane taking precedence; a found file is stored.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

inline constexpr StringView kFirefoxPathSetting = u"FireFoxPath";
inline constexpr StringView kMozillaFirefoxKey = u"SOFTWARE\\Mozilla\\Mozilla Firefox";
inline constexpr StringView kGlimmerpaneKey = u"Software\\Glimmerpane";
inline constexpr StringView kGlimmerpaneExe = u"Glimmerpane.exe";

enum class TRegistryRoot { CurrentUser, LocalMachine };

// What the lookup reads and writes. The Windows build answers from the settings store, the
// registry and the file system; tests answer from memory and count what was asked.
class IFirefoxLookupSource {
public:
    virtual ~IFirefoxLookupSource() = default;
    virtual String StoredFirefoxPath() = 0;
    virtual void StoreFirefoxPath(StringView path) = 0;
    // A file, not a folder.
    virtual bool FileExists(StringView path) = 0;
    // False when the key cannot be opened; a key without the value gives true and "".
    // An empty value name reads the key's default value.
    virtual bool ReadRegistryString(
        TRegistryRoot root, StringView keyPath, StringView valueName, String& value) = 0;
};

// The executable's path, or "" when nothing is known. The path may name a file that is gone
// (a stored path with nothing registered, or a registry entry that points nowhere).
String LookUpFirefoxPath(IFirefoxLookupSource& source);

} // namespace vp
