#include "framework/engine/CLAboutForm.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/GdiPlus.h"

namespace vp {

namespace {

constexpr int kClientWidth = 373;
constexpr int kClientHeight = 293;
constexpr int kLogoHeight = 65;
constexpr int kButtonWidth = 85;
constexpr int kButtonMargin = 14;
const String kEnglish = u"English";

// The language's "LibRes" text, or the designed one when the language has none.
String LibTextOr(const String& name, const String& designed)
{
    TCLEngine* engine = GetCLEngine();
    String text = engine ? engine->GetLibString(name) : String();
    return text.empty() ? designed : text;
}

} // namespace

const TClassInfo& TfrmCLAboutForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmCLAboutForm, TForm>(u"TfrmCLAboutForm").Build();
    return info;
}

TfrmCLAboutForm::TfrmCLAboutForm(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmCLAboutForm");
    SetCaption(u"About");
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poMainFormCenter;
    KeyPreview = true;
    SetClientSize(kClientWidth, kClientHeight);

    spDynamicSkinForm = NewDialogFrame(this, nullptr, TDialogFrameButtons::SysMenuAndClose);

    // The decorator hands the engine's skin data to every skinned part and the engine's
    // language data to the binder; made before the binder, so the binder applies the
    // language when it loads.
    CLForm = new TCLForm(this);
    CLForm->SetName(u"CLForm");
    CLForm->SetRuntimeSetSkinData(true);
    CLForm->SetRuntimeSetLanguageData(true);
    CLForm->SetRunTimeSetFormProperties(false);
    // The link captions have no "LibRes" key: the binder translates them.
    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");

    pnLogo = NewSkinControl<TspSkinPanel>(this, this, u"pnLogo", nullptr);
    pnLogo->SetHeight(kLogoHeight);
    pnLogo->SetAlign(TAlign::alTop);
    imgLogo = new TImage(this);
    imgLogo->SetName(u"imgLogo");
    imgLogo->SetParent(pnLogo);
    imgLogo->SetAlign(TAlign::alClient);
    imgLogo->SetCenter(true);

    pn1 = NewSkinControl<TspSkinPanel>(this, this, u"pn1", nullptr);
    pn1->SetAlign(TAlign::alClient);
    lbInfo = NewSkinControl<TspSkinStdLabel>(this, pn1, u"lbInfo", nullptr);
    lbInfo->SetAutoSize(false);
    lbInfo->SetWordWrap(true);
    lbInfo->SetTransparent(true);
    lbInfo->SetBounds(18, 14, 337, 73);
    btnEULA = NewSkinControl<TspSkinLinkLabel>(this, pn1, u"btnEULA", nullptr);
    btnEULA->SetLeft(18);
    btnEULA->SetTop(100);
    btnEULA->SetCaption(u"End User License Agreement");
    btnPrivaryPolicy = NewSkinControl<TspSkinLinkLabel>(this, pn1, u"btnPrivaryPolicy", nullptr);
    btnPrivaryPolicy->SetLeft(18);
    btnPrivaryPolicy->SetTop(124);
    btnPrivaryPolicy->SetCaption(u"Privacy Policy");

    pn2 = NewSkinControl<TspSkinPanel>(this, this, u"pn2", nullptr);
    pn2->SetHeight(44);
    pn2->SetAlign(TAlign::alBottom);
    lblSupport = NewSkinControl<TspSkinLinkLabel>(this, pn2, u"lblSupport", nullptr);
    lblSupport->SetLeft(18);
    lblSupport->SetTop(14);
    lblSupport->SetCaption(u"Support");
    btnOK = NewSkinControl<TspSkinButton>(this, pn2, u"btnOK", nullptr);
    btnOK->SetBounds(kClientWidth - kButtonWidth - kButtonMargin, 7, kButtonWidth, 30);
    btnOK->SetCaption(u"&OK");
    btnOK->SetDefault(true);
    btnOK->ModalResult = mrOk;

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    // Esc closes the box when it is let go (FormKeyUp); pressed, it must not reach the
    // dialog navigation, which would close the box at once with another result.
    OnKeyDown = [](TObject*, WORD& Key, UINT) {
        if (Key == VK_ESCAPE)
            Key = 0;
    };
    OnKeyUp = [this](TObject* Sender, WORD& Key, UINT Shift) { FormKeyUp(Sender, Key, Shift); };
}

void TfrmCLAboutForm::LoadLogo()
{
    const String file = GetAppPath() + u"res\\images\\about.png";
    Gdiplus::Bitmap* logo = FileExists(file) && imgLogo->LoadFromFile(file) ? imgLogo->Picture() : nullptr;
    if (!logo) {
        pnLogo->SetVisible(false);
        SetClientSize(kClientWidth, kClientHeight - kLogoHeight);
        return;
    }
    // The box takes the logo's width, and its height grows or shrinks with the logo's.
    const int width = static_cast<int>(logo->GetWidth());
    const int height = static_cast<int>(logo->GetHeight());
    pnLogo->SetHeight(height);
    SetClientSize(width, kClientHeight + height - kLogoHeight);
    btnOK->SetLeft(width - kButtonWidth - kButtonMargin);
}

String TfrmCLAboutForm::InfoText() const
{
    TCLEngine* engine = GetCLEngine();
    if (!engine)
        return String();
    TCLSettings& settings = GetCLSettings();
    String text = engine->GetLibString(u"TfrmCLAboutForm.CopyRightLine1");
    text += u"\r\n" + engine->GetLibStringEx(u"TfrmCLAboutForm.CopyRightLine2", {settings.GetSettingString(u"App.Ver")});
    text += u"\r\n" + settings.GetSettingString(u"App.Copyright");
    const String& language = engine->Language();
    if (!language.empty() && language != kEnglish) {
        text += u"\r\n" +
                engine->GetLibStringEx(u"TfrmCLAboutForm.CopyRightLine3", {language, engine->LanguageTranslator()});
    }
    return text;
}

void TfrmCLAboutForm::FormCreate(TObject*)
{
    LoadLogo();
    SetCaption(LibTextOr(u"TfrmCLAboutForm.Caption", Caption()));
    btnOK->SetCaption(LibTextOr(u"btnOk.Caption", btnOK->Caption()));
    lbInfo->SetCaption(InfoText());
    lblSupport->SetCaption(LibTextOr(u"lblSupport.Caption", lblSupport->Caption()));
    TCLEngine* engine = GetCLEngine();
    if (engine)
        lblSupport->SetURL(engine->GetURL(u"support", true));
    if (engine && GetCLSettings().GetSettingBool(u"about.showlink")) {
        btnEULA->SetURL(engine->GetURL(u"eula", true));
        btnPrivaryPolicy->SetURL(engine->GetURL(u"privary", true));
    } else {
        btnEULA->SetVisible(false);
        btnPrivaryPolicy->SetVisible(false);
    }
}

void TfrmCLAboutForm::FormKeyUp(TObject*, WORD& Key, UINT)
{
    if (Key == VK_ESCAPE)
        SetModalResult(mrOk);
}

void RegisterAboutLangWindow(TLangWindowList& list)
{
    list.Add(u"TfrmCLAboutForm", [] { return std::make_unique<TfrmCLAboutForm>(nullptr); });
}

} // namespace vp
