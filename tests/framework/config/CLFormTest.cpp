#include "framework/config/CLForm.h"

#include "LangTestComponents.h"
#include "framework/config/CLMultiLang.h"
#include "framework/config/EngineResources.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// Stands for the engine: owns skin data and language data and registers them while it lives.
class TTestEngine : public IEngineResources {
public:
    TTestEngine() { EXPECT_TRUE(RegisterEngineResources(this)); }
    ~TTestEngine() override { UnregisterEngineResources(this); }
    TPersistent* SkinData() const override { return FSkinData; }
    TCLMultiLangData* LanguageData() const override { return FLanguageData; }

    TTestSkinData Skin;
    TCLMultiLangData Language{nullptr};
    TPersistent* FSkinData = &Skin;
    TCLMultiLangData* FLanguageData = &Language;
};

// A binder class derived from the binder: the decorator leaves it alone.
class TDerivedBinder : public TCLMultiLang {
    VP_CLASS(TDerivedBinder)
public:
    using TCLMultiLang::TCLMultiLang;
};

const TClassInfo& TDerivedBinder::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TDerivedBinder, TCLMultiLang>(u"TDerivedBinder").Build();
    return info;
}

} // namespace

TEST(EngineRegistration, FirstRegistrationWinsUntilItLeaves)
{
    EXPECT_EQ(RegisteredEngineResources(), nullptr);
    {
        TTestEngine engine;
        EXPECT_EQ(RegisteredEngineResources(), &engine);
        {
            struct TOther : IEngineResources {
                TPersistent* SkinData() const override { return nullptr; }
                TCLMultiLangData* LanguageData() const override { return nullptr; }
            } other;
            EXPECT_FALSE(RegisterEngineResources(&other));
            UnregisterEngineResources(&other);
            EXPECT_EQ(RegisteredEngineResources(), &engine);
        }
        EXPECT_FALSE(RegisterEngineResources(nullptr));
    }
    EXPECT_EQ(RegisteredEngineResources(), nullptr);
}

TEST(DecoratorSkinData, EmptySkinDataPropertiesGetTheEngines)
{
    TTestEngine engine;
    TfrmMain window;
    TTestSkinData own;
    auto* second = new TTestSkinnedPanel(&window, u"pnlOther");
    second->SetSkinData(&own);
    TCLForm decorator(&window);
    decorator.ApplySkinData();
    EXPECT_EQ(window.pnlStatus->SkinData(), &engine.Skin);
    EXPECT_EQ(second->SkinData(), &own);
}

TEST(DecoratorSkinData, NothingWithoutEngineOrSkinData)
{
    TfrmMain window;
    auto* decorator = new TCLForm(&window);
    decorator->ApplySkinData();
    EXPECT_EQ(window.pnlStatus->SkinData(), nullptr);
    TTestEngine engine;
    engine.FSkinData = nullptr;
    decorator->ApplySkinData();
    EXPECT_EQ(window.pnlStatus->SkinData(), nullptr);
}

TEST(DecoratorLanguageData, BindersWithoutLanguageDataGetTheEngines)
{
    TTestEngine engine;
    TCLMultiLangData own(nullptr);
    TfrmMain window;
    auto* plain = new TCLMultiLang(&window);
    auto* bound = new TCLMultiLang(&window);
    bound->SetLanguageData(&own);
    auto* derived = new TDerivedBinder(&window);
    auto* decorator = new TCLForm(&window);
    decorator->ApplyLanguageData();
    EXPECT_EQ(plain->LanguageData(), &engine.Language);
    EXPECT_EQ(bound->LanguageData(), &own);
    EXPECT_EQ(derived->LanguageData(), nullptr);
    EXPECT_EQ(engine.Language.Clients(), std::vector<TCLMultiLang*>{plain});
}

TEST(DecoratorLoaded, RunsTheFlaggedStepsAtRunTimeOnly)
{
    TTestEngine engine;
    engine.Language.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Translated"});
    {
        TfrmMain window;
        auto* decorator = new TCLForm(&window);
        auto* binder = new TCLMultiLang(&window);
        decorator->SetRuntimeSetSkinData(true);
        LoadComponentTree(window);
        EXPECT_EQ(window.pnlStatus->SkinData(), &engine.Skin);
        EXPECT_EQ(binder->LanguageData(), nullptr);
    }
    {
        TfrmMain window;
        window.SetDesigning(true);
        auto* decorator = new TCLForm(&window);
        decorator->SetRuntimeSetSkinData(true);
        decorator->SetRuntimeSetLanguageData(true);
        auto* binder = new TCLMultiLang(&window);
        LoadComponentTree(window);
        EXPECT_EQ(window.pnlStatus->SkinData(), nullptr);
        EXPECT_EQ(binder->LanguageData(), nullptr);
    }
}

TEST(DecoratorLoaded, ADecoratorBeforeTheBinderLetsItApplyAtLoad)
{
    TTestEngine engine;
    engine.Language.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Translated"});
    TfrmMain window;
    auto* decorator = new TCLForm(&window);
    decorator->SetRuntimeSetLanguageData(true);
    auto* binder = new TCLMultiLang(&window);
    LoadComponentTree(window);
    EXPECT_EQ(binder->LanguageData(), &engine.Language);
    EXPECT_EQ(window.btnHide->Caption(), u"Translated");
}

TEST(DecoratorLoaded, ADecoratorAfterTheBinderRegistersItWithoutApplying)
{
    TTestEngine engine;
    engine.Language.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Translated"});
    TfrmMain window;
    auto* binder = new TCLMultiLang(&window);
    auto* decorator = new TCLForm(&window);
    decorator->SetRuntimeSetLanguageData(true);
    LoadComponentTree(window);
    EXPECT_EQ(engine.Language.Clients(), std::vector<TCLMultiLang*>{binder});
    EXPECT_EQ(window.btnHide->Caption(), u"Hide IP");
    // The next language change reaches it.
    engine.Language.ApplyClients();
    EXPECT_EQ(window.btnHide->Caption(), u"Translated");
}

TEST(DecoratorFormProperties, AComponentThatIsNoWindowIsLeftAlone)
{
    TfrmMain window;
    auto* decorator = new TCLForm(&window);
    EXPECT_FALSE(decorator->RunTimeSetFormProperties());
    decorator->SetRunTimeSetFormProperties(true);
    EXPECT_FALSE(FixFormProperties(window));
    LoadComponentTree(window);
    EXPECT_EQ(window.Caption(), u"Veilport");
    TCLForm orphan(nullptr);
    orphan.ApplyFormProperties();
}
