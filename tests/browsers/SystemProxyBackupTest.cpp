// The backup file of the user's proxy settings: what goes in comes out, and a file that is
// damaged anywhere (every changed byte, every cut) is refused whole.
#include "browsers/SystemProxyBackup.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

using namespace vp;

namespace {

TSystemProxyBackup SampleBackup()
{
    TSystemProxyBackup backup;
    backup.RegistryValues = {{u"ProxyEnable", true, 4, std::string("\x01\x00\x00\x00", 4)},
        {u"ProxyServer", true, 1, std::string("c\0:\0\0\0", 6)}, {u"ProxyOverride", false, 0, ""},
        {u"AutoConfigURL", true, 2, std::string("\xff\n \0", 4)}};
    backup.Connections = {{u"", 0x0B, u"corp:3128", u"<local>;*.corp", u"http://127.0.0.1/p.pac"},
        // Blanks, line breaks, a lone surrogate and non-Latin text must all survive.
        {u"Office VPN \u00e9\u4e2d\n", 1, u"", u"", u""},
        {String(1, char16_t(0xD800)), 0xFFFFFFFFu, u"a b", u"", u"x"}};
    return backup;
}

TEST(SystemProxyBackup, WhatIsWrittenIsReadBackExactly)
{
    TSystemProxyBackup backup = SampleBackup();
    std::string file = SerializeSystemProxyBackup(backup);
    auto parsed = ParseSystemProxyBackup(file);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, backup);
    EXPECT_EQ(parsed->FindConnection(u"Office VPN \u00e9\u4e2d\n")->Flags, 1u);
    EXPECT_EQ(parsed->FindConnection(u"office vpn \u00e9\u4e2d\n"), nullptr);
    EXPECT_EQ(file.rfind("VeilportProxyBackup 1\n", 0), 0u);
}

TEST(SystemProxyBackup, EveryChangedByteAndEveryCutIsRefused)
{
    std::string file = SerializeSystemProxyBackup(SampleBackup());
    for (size_t i = 0; i < file.size(); ++i) {
        std::string damaged = file;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x04);
        EXPECT_FALSE(ParseSystemProxyBackup(damaged)) << "byte " << i;
        EXPECT_FALSE(ParseSystemProxyBackup(file.substr(0, i))) << "cut at " << i;
    }
    EXPECT_FALSE(ParseSystemProxyBackup(file + "\n"));
    String reason;
    EXPECT_FALSE(ParseSystemProxyBackup("", &reason));
    EXPECT_EQ(reason, u"cut short");
}

// A file whose checksum is right but whose content is not what the writer makes.
std::string Sealed(const std::string& body)
{
    char crc[9];
    std::snprintf(crc, sizeof(crc), "%08x", static_cast<unsigned>(Crc32(body)));
    return body + "end " + std::to_string(body.size()) + " " + crc + "\n";
}

TEST(SystemProxyBackup, WellSealedButIncompleteOrForeignContentIsRefused)
{
    const std::string registry = "registry ProxyEnable -\nregistry ProxyServer -\nregistry ProxyOverride -\n"
                                 "registry AutoConfigURL -\n";
    const std::string lan = "connection x 1 x x x\n";
    ASSERT_TRUE(ParseSystemProxyBackup(Sealed("VeilportProxyBackup 1\n" + registry + lan)));
    for (const std::string& body : {"VeilportProxyBackup 2\n" + registry + lan, // another version
             "VeilportProxyBackup 1\n" + registry, // no default connection
             "VeilportProxyBackup 1\nregistry ProxyEnable -\n" + lan, // values missing
             "VeilportProxyBackup 1\n" + registry + "registry ProxyEnable -\n" + lan, // repeated value
             "VeilportProxyBackup 1\n" + registry + lan + lan, // repeated connection
             "VeilportProxyBackup 1\n" + registry + "registry Other 1 x\n" + lan, // not ours to write
             "VeilportProxyBackup 1\n" + registry + "connection x0 1 x x x\n", // half a character
             "VeilportProxyBackup 1\n" + registry + "connection x 4294967296 x x x\n",
             "VeilportProxyBackup 1\n" + registry + "connection xAB00 1 x x x\n" + lan, // upper case hex
             "VeilportProxyBackup 1\n" + registry + lan + "\n"})
        EXPECT_FALSE(ParseSystemProxyBackup(Sealed(body))) << body;
}

// Sealed random edits reach the line parser: it never reads astray, and all it accepts is a
// file exactly as the writer makes it.
TEST(SystemProxyBackup, SealedRandomEditsAreRefusedOrCanonical)
{
    std::string file = SerializeSystemProxyBackup(SampleBackup());
    const std::string body = file.substr(0, file.rfind("end "));
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::string edited = body;
        for (int edits = 1 + static_cast<int>(rng() % 3); edits > 0; --edits)
            edited.replace(rng() % edited.size(), rng() % 3, std::string(rng() % 3, " x0-\n"[rng() % 5]));
        auto parsed = ParseSystemProxyBackup(Sealed(edited));
        if (parsed) {
            EXPECT_EQ(SerializeSystemProxyBackup(*parsed), Sealed(edited)) << edited;
        }
    }
}

} // namespace
