// The decorator and the binder on the toolkit's own windows and controls.
#include "framework/config/CLForm.h"
#include "framework/config/CLMultiLang.h"
#include "framework/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

class TfrmProbe : public TForm {
    VP_CLASS(TfrmProbe)
public:
    explicit TfrmProbe(TComponent* owner) : TForm(owner)
    {
        SetName(u"frmProbe");
        SetCaption(u"Probe");
        btnOK = new TControl(this);
        btnOK->SetName(u"btnOK");
        btnOK->SetCaption(u"OK");
    }
    TControl* btnOK;
};

const TClassInfo& TfrmProbe::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmProbe, TForm>(u"TfrmProbe").Build();
    return info;
}

} // namespace

TEST(DecoratorOnWindows, FormPropertiesPlaceTheWindowOnTheMainWindow)
{
    TfrmProbe form(nullptr);
    auto* decorator = new TCLForm(&form);
    decorator->SetRunTimeSetFormProperties(true);
    EXPECT_EQ(form.Position, TPosition::poDesigned);
    LoadComponentTree(form);
    EXPECT_EQ(form.Position, TPosition::poMainFormCenter);
    EXPECT_FALSE(FixFormProperties(*form.btnOK));
}

TEST(BinderOnWindows, TranslatesAndCollectsTheToolkitsControls)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(
        TStringList{u"[TfrmProbe]", u"frmProbe.Caption=Probe translated", u"btnOK.Caption=Fine"});
    TfrmProbe form(nullptr);
    (new TCLMultiLang(&form))->SetLanguageData(&data);
    LoadComponentTree(form);
    EXPECT_EQ(form.Caption(), u"Probe translated");
    EXPECT_EQ(form.btnOK->Caption(), u"Fine");

    data.ClearCurrentAll();
    data.UpdateClients();
    String value;
    EXPECT_TRUE(data.GetProp(u"TfrmProbe", u"btnOK", u"Caption", value));
    EXPECT_EQ(value, u"Fine");
}
