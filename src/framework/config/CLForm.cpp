#include "framework/config/CLForm.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/EngineResources.h"

namespace vp {

const TClassInfo& TCLForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCLForm, TComponent>(u"TCLForm")
                                       .Other(u"RuntimeSetSkinData", u"Boolean")
                                       .Other(u"RuntimeSetLanguageData", u"Boolean")
                                       .Other(u"RunTimeSetFormProperties", u"Boolean")
                                       .Build();
    return info;
}

TCLForm::TCLForm(TComponent* aOwner) : TComponent(aOwner)
{
}

void TCLForm::Loaded()
{
    TComponent::Loaded();
    if (IsDesigning())
        return;
    if (FRuntimeSetSkinData)
        ApplySkinData();
    if (FRuntimeSetLanguageData)
        ApplyLanguageData();
    if (FRunTimeSetFormProperties)
        ApplyFormProperties();
}

void TCLForm::ApplySkinData()
{
    IEngineResources* engine = RegisteredEngineResources();
    TPersistent* skinData = engine ? engine->SkinData() : nullptr;
    TComponent* window = Owner();
    if (!skinData || !window)
        return;
    for (int i = 0; i < window->ComponentCount(); ++i) {
        TComponent* component = window->Components(i);
        for (const TPropInfo* prop : component->ClassInfo().Properties())
            if (prop->Kind == TPropKind::Object && SameText(prop->TypeName, kSkinDataTypeName) &&
                prop->HasReader() && prop->HasWriter() && !prop->ReadObject(*component))
                prop->WriteObject(*component, skinData);
    }
}

void TCLForm::ApplyLanguageData()
{
    IEngineResources* engine = RegisteredEngineResources();
    TCLMultiLangData* languageData = engine ? engine->LanguageData() : nullptr;
    TComponent* window = Owner();
    if (!languageData || !window)
        return;
    for (int i = 0; i < window->ComponentCount(); ++i) {
        auto* binder = dynamic_cast<TCLMultiLang*>(window->Components(i));
        // Only components of exactly the binder class take part.
        if (!binder || &binder->ClassInfo() != &TCLMultiLang::StaticClassInfo())
            continue;
        if (!binder->LanguageData())
            binder->SetLanguageData(languageData);
    }
}

void TCLForm::ApplyFormProperties()
{
    if (Owner())
        FixFormProperties(*Owner());
}

} // namespace vp
