// Every shipped language must hold every text of English.lan with the same placeholders
// ("{AppName}", "{1}" ...): a missing key shows the English text in the middle of a
// translated window, a lost placeholder shows the wrong message.
#include "framework/config/CLMultiLangLan.h"
#include "framework/config/IniDocument.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

using namespace vp;

namespace {

using TTexts = std::map<std::pair<String, String>, String>; // (section, key) -> value

TTexts ReadTexts(const String& fileText)
{
    TIniDocument ini;
    ini.SetText(fileText);
    TStringList sections;
    ini.ReadSections(sections);
    TTexts texts;
    for (int s = 0; s < sections.Count(); ++s) {
        TStringList keys;
        ini.ReadSection(sections[s], keys);
        for (int k = 0; k < keys.Count(); ++k)
            texts[{UpperCase(sections[s]), UpperCase(keys[k])}] = ini.ReadString(sections[s], keys[k], u"");
    }
    return texts;
}

// "{AppName}", "{1}" and the like, sorted, each as often as it occurs.
std::vector<String> Placeholders(const String& text)
{
    std::vector<String> found;
    for (size_t open = text.find(u'{'); open != String::npos; open = text.find(u'{', open + 1)) {
        size_t close = text.find(u'}', open);
        if (close == String::npos)
            break;
        found.push_back(UpperCase(text.substr(open, close - open + 1)));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// What a translation lacks against the reference, one line per fault.
std::vector<std::string> CompareWithReference(const TTexts& reference, const TTexts& translation)
{
    std::vector<std::string> faults;
    for (const auto& [id, english] : reference) {
        if (id.first == u"INFO")
            continue;
        auto it = translation.find(id);
        std::string where = U16ToUtf8(id.first) + " / " + U16ToUtf8(id.second);
        if (it == translation.end())
            faults.push_back("missing " + where);
        else if (Placeholders(it->second) != Placeholders(english))
            faults.push_back("placeholders differ in " + where);
        else if (!english.empty() && it->second.empty())
            faults.push_back("empty " + where);
    }
    return faults;
}

String ReadLanguageFile(const std::filesystem::path& path)
{
    TCLMultiLangLan lan;
    lan.LoadFromFile(path.u16string());
    return lan.ToString();
}

} // namespace

TEST(LanguageFileCheck, FindsMissingKeysLostPlaceholdersAndEmptyTexts)
{
    TTexts english = ReadTexts(u"[Info]\nLanguage=English\n[AppRes]\nMSGBox.A=Hello {AppName}\n"
                               u"MSGBox.B=Step {1} of {2}\nMSGBox.C=Plain\n[TfrmMain]\nbtnHide.Caption=&Hide IP\n");
    TTexts good = ReadTexts(u"[info]\nLanguage=Deutsch\n[APPRES]\nmsgbox.a=Hallo {appname}\n"
                            u"MSGBox.B=Schritt {1} von {2}\nMSGBox.C=Schlicht\n[TfrmMain]\nbtnHide.Caption=IP &verbergen\n");
    EXPECT_TRUE(CompareWithReference(english, good).empty());

    TTexts bad = ReadTexts(u"[AppRes]\nMSGBox.A=Hallo\nMSGBox.B=Schritt {1} von {1}\nMSGBox.C=\n");
    std::vector<std::string> faults = CompareWithReference(english, bad);
    ASSERT_EQ(faults.size(), 4u);
    EXPECT_EQ(faults[0], "placeholders differ in APPRES / MSGBOX.A");
    EXPECT_EQ(faults[1], "placeholders differ in APPRES / MSGBOX.B");
    EXPECT_EQ(faults[2], "empty APPRES / MSGBOX.C");
    EXPECT_EQ(faults[3], "missing TFRMMAIN / BTNHIDE.CAPTION");
}

TEST(LanguageFiles, EveryShippedLanguageHoldsEveryEnglishText)
{
    std::filesystem::path folder = vptest::SourcePath("data/lang");
    ASSERT_TRUE(std::filesystem::exists(folder / "English.lan"));
    TTexts english = ReadTexts(ReadLanguageFile(folder / "English.lan"));
    EXPECT_GT(english.size(), 100u); // the whole program, not a sample

    int languages = 0;
    std::set<String> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".lan" || entry.path().filename() == "English.lan")
            continue;
        ++languages;
        TTexts translation = ReadTexts(ReadLanguageFile(entry.path()));
        for (const std::string& fault : CompareWithReference(english, translation))
            ADD_FAILURE() << entry.path().filename().string() << ": " << fault;
        std::string file = entry.path().filename().string();
        String language = translation[std::make_pair(String(u"INFO"), String(u"LANGUAGE"))];
        EXPECT_FALSE(language.empty()) << file;
        EXPECT_FALSE(translation[std::make_pair(String(u"INFO"), String(u"TRANSLATOR"))].empty()) << file;
        EXPECT_TRUE(names.insert(language).second) << "two files for " << U16ToUtf8(language);
    }
    EXPECT_GE(languages, 6);
}
