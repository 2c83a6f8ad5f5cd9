// Every window in every shipped language: no caption is wider than the control that shows
// it, measured with the control's real font. A translated button or check box that does not
// fit is cut off with "..." on the user's screen; a text before a field's gap that runs into
// the field is hidden under it.
#include "app/uMain.h"
#include "dialogs/DialogLangWindows.h"
#include "framework/config/CLMultiLang.h"
#include "framework/config/LangWindowList.h"
#include "framework/engine/CLAboutForm.h"
#include "framework/engine/CLUpdateForm.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinCheckBox.h"
#include "framework/ui/SkinLabel.h"
#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace vp;

namespace {

struct TFit {
    int Needed = 0; // pixels the text takes
    int Room = 0;   // pixels the control gives it
};

String WithoutAccelerator(const String& caption)
{
    String plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

int TextWidth(const TspSkinControl& control, const String& text)
{
    HDC dc = GetDC(nullptr);
    int width = control.Painter().MeasureText(dc, control.Element(), WithoutAccelerator(text)).cx;
    ReleaseDC(nullptr, dc);
    return width;
}

int HorizontalPadding(const TspSkinControl& control)
{
    RECT padding = control.Painter().Padding(control.Element());
    return padding.left + padding.right;
}

// The width the parent gives its children: a form's client area, a panel's width. A page or
// an aligned panel is laid out only when its window is made: the nearest container that has a
// width stands in for it.
int ParentWidth(const TControl& control)
{
    for (TWinControl* parent = control.Parent(); parent; parent = parent->Parent()) {
        if (auto* form = dynamic_cast<TForm*>(parent))
            return control.ScaleValue(form->ClientWidth());
        if (parent->Width() > 0)
            return control.ScaleValue(parent->Width());
    }
    return 0;
}

// The controls of the same parent that lie over the given one (a number field placed in the
// gap of a check box's caption).
std::vector<TControl*> Overlapping(const TControl& control)
{
    std::vector<TControl*> found;
    TWinControl* parent = control.Parent();
    for (int i = 0; parent && i < parent->ControlCount(); ++i) {
        TControl* other = parent->Controls(i);
        if (other != &control && other->Left() < control.Left() + control.Width() &&
            control.Left() < other->Left() + other->Width() && other->Top() < control.Top() + control.Height() &&
            control.Top() < other->Top() + other->Height())
            found.push_back(other);
    }
    return found;
}

// The faults of one control, one line each.
void CheckControl(TComponent* component, std::vector<std::string>& faults)
{
    auto report = [&](const TControl& control, const std::string& what, TFit fit) {
        if (fit.Needed > fit.Room)
            faults.push_back(U16ToUtf8(control.Name()) + " \"" + U16ToUtf8(control.Caption()) + "\": " + what + " needs " +
                std::to_string(fit.Needed) + " px, has " + std::to_string(fit.Room));
    };
    if (auto* button = dynamic_cast<TspSkinButton*>(component)) {
        report(*button, "button", {TextWidth(*button, button->Caption()),
                                      button->Scaled(button->Width()) - HorizontalPadding(*button)});
    } else if (auto* box = dynamic_cast<TspSkinCheckRadioBox*>(component)) {
        const TSkinMetrics& metrics = box->Skin().Metrics();
        int textLeft = box->Scaled(metrics.CheckBoxSize + metrics.CheckBoxSpacing) + box->Painter().Padding(box->Element()).left;
        report(*box, "check box", {TextWidth(*box, box->Caption()),
                                      box->Scaled(box->Width()) - textLeft - box->Painter().Padding(box->Element()).right});
        // A caption with a gap for a field: the words before the gap end left of the field.
        String caption = box->Caption();
        size_t gap = caption.find(u"   ");
        if (gap != String::npos)
            for (TControl* field : Overlapping(*box))
                report(*box, "text before the field", {TextWidth(*box, caption.substr(0, gap)),
                                                          box->Scaled(field->Left() - box->Left()) - textLeft});
    } else if (auto* label = dynamic_cast<TspSkinStdLabel*>(component)) {
        if (label->Caption().empty() || !label->Visible())
            return;
        if (label->AutoSize() && !label->WordWrap())
            report(*label, "label in its parent", {label->ScaleValue(label->Left() + label->Width()), ParentWidth(*label)});
        else if (!label->WordWrap())
            report(*label, "label", {TextWidth(*label, label->Caption()),
                                        label->ScaleValue(label->Width()) - HorizontalPadding(*label)});
    }
}

void RegisterProgramWindows()
{
    RegisterAppLangWindows(LangWindows());
    RegisterDialogLangWindows(LangWindows());
    RegisterAboutLangWindow(LangWindows());
    RegisterUpdateLangWindow(LangWindows());
}

// The update window and the about box take some captions from "LibRes" when they show, over
// their own section's: the same here.
void ApplyLibraryCaptions(TCLMultiLangData& data, TComponent& window)
{
    const std::pair<const char16_t*, const char16_t*> captions[] = {{u"btnOK", u"btnOk.Caption"},
        {u"btnOK2", u"btnOk.Caption"}, {u"btnCancel", u"btnCancel.Caption"},
        {u"cbAutoCheckUpdate", u"cbAutoCheckUpdate.Caption"}, {u"lblSupport", u"lblSupport.Caption"}};
    if (window.ClassName() != u"TfrmCLUpdateForm" && window.ClassName() != u"TfrmCLAboutForm")
        return;
    for (const auto& [component, key] : captions) {
        String text;
        auto* control = dynamic_cast<TControl*>(window.FindComponent(component));
        if (control && data.GetProp(u"LibRes", u"", key, text) && !text.empty())
            control->SetCaption(text);
    }
}

void CollectComponents(TComponent* owner, std::vector<TComponent*>& all)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        all.push_back(owner->Components(i));
        CollectComponents(owner->Components(i), all);
    }
}

} // namespace

TEST(CaptionFit, EveryCaptionFitsItsControlInEveryLanguage)
{
    vptest::TApplicationScope application;
    RegisterProgramWindows();
    ASSERT_GE(LangWindows().Entries().size(), 6u);
    std::filesystem::path folder = vptest::SourcePath("data/lang");
    int languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".lan")
            continue;
        ++languages;
        TCLMultiLangData data(nullptr);
        data.LoadCurrentFromFile(entry.path().u16string());
        for (const TLangWindowList::TEntry& window : LangWindows().Entries()) {
            std::unique_ptr<TComponent> form = window.Create();
            ASSERT_NE(form, nullptr);
            auto* binder = new TCLMultiLang(form.get()); // freed with the window
            binder->SetLanguageData(&data);
            binder->ApplyData();
            ApplyLibraryCaptions(data, *form);
            std::vector<TComponent*> components;
            CollectComponents(form.get(), components);
            std::vector<std::string> faults;
            for (TComponent* component : components)
                CheckControl(component, faults);
            for (const std::string& fault : faults)
                ADD_FAILURE() << entry.path().filename().string() << " " << U16ToUtf8(window.ClassName) << "." << fault;
        }
    }
    EXPECT_GE(languages, 1);
}

TEST(CaptionFit, ACaptionTooLongForItsButtonIsFound)
{
    vptest::TApplicationScope application;
    TForm form(nullptr);
    auto* button = new TspSkinButton(&form);
    button->SetName(u"btnLong");
    button->SetParent(&form);
    button->SetBounds(0, 0, 75, 25);
    button->SetCaption(u"&OK");
    std::vector<std::string> faults;
    CheckControl(button, faults);
    EXPECT_TRUE(faults.empty());
    button->SetCaption(u"Einstellungen &zurücksetzen und übernehmen");
    CheckControl(button, faults);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0].rfind("btnLong", 0), 0u) << faults[0];
}
