#include "framework/ui/SkinMessageForm.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/AcceleratorText.h"
#include "framework/ui/Application.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinMessageControls.h"

#include <algorithm>
#include <cstring>

namespace vp {

namespace {

struct TButtonKind {
    TMsgDlgBtn Button;
    const char16_t* Text;
    TModalResult Result;
};

// The buttons in the order a box shows them.
constexpr TButtonKind kButtonKinds[] = {
    {mbYes, skinres::kYes, mrYes},
    {mbNo, skinres::kNo, mrNo},
    {mbOK, skinres::kOK, mrOk},
    {mbCancel, skinres::kCancel, mrCancel},
    {mbAbort, skinres::kAbort, mrAbort},
    {mbRetry, skinres::kRetry, mrRetry},
    {mbIgnore, skinres::kIgnore, mrIgnore},
};

// Designed units.
constexpr int kMaxTextWidth = 420;
constexpr int kMinClientWidth = 220;
constexpr int kButtonGap = 8;
constexpr int kCheckBoxRoom = 4;

const char16_t* KindText(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return skinres::kWarning;
    case TMsgDlgType::mtError: return skinres::kError;
    case TMsgDlgType::mtInformation: return skinres::kInformation;
    case TMsgDlgType::mtConfirmation: return skinres::kConfirmation;
    case TMsgDlgType::mtCustom: break;
    }
    return nullptr;
}

TBuiltinGlyph KindGlyph(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return TBuiltinGlyph::Warning;
    case TMsgDlgType::mtError: return TBuiltinGlyph::Error;
    case TMsgDlgType::mtInformation: return TBuiltinGlyph::Information;
    case TMsgDlgType::mtConfirmation: return TBuiltinGlyph::Confirmation;
    case TMsgDlgType::mtCustom: break;
    }
    return TBuiltinGlyph::None;
}

UINT KindSound(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return MB_ICONWARNING;
    case TMsgDlgType::mtError: return MB_ICONERROR;
    case TMsgDlgType::mtInformation: return MB_ICONINFORMATION;
    case TMsgDlgType::mtConfirmation: return MB_ICONQUESTION;
    case TMsgDlgType::mtCustom: break;
    }
    return MB_OK;
}

RECT Scaled(const TRect& rect, UINT dpi)
{
    return RECT{ScaleToDpi(rect.Left, dpi), ScaleToDpi(rect.Top, dpi), ScaleToDpi(rect.Right, dpi),
        ScaleToDpi(rect.Bottom, dpi)};
}

// Pixels measured at dpi in designed units, rounded up so nothing is cut.
int Designed(int pixels, UINT dpi)
{
    return (pixels * static_cast<int>(kDesignDpi) + static_cast<int>(dpi) - 1) / static_cast<int>(dpi);
}

} // namespace

const TClassInfo& TspSkinMessageForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinMessageForm, TForm>(u"TspSkinMessageForm").Build();
    return info;
}

TspSkinMessageForm::TspSkinMessageForm(TComponent* aOwner, const TContent& content)
    : TForm(aOwner), FContent(content)
{
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poMainFormCenter;
    KeyPreview = true;
    FSkinForm = new TspDynamicSkinForm(this);
    FSkinForm->SetSkinDataName(content.SkinDataName);
    FSkinForm->SetSysMenuButton(false);
    FSkinForm->SetMinimizeButton(false);
    FSkinForm->SetMaximizeButton(false);
    FSkinForm->SetSizeable(false);
    FSkinForm->SetSkinData(content.SkinData);
    auto text = [&](const char16_t* name) {
        if (content.SkinData)
            return content.SkinData->ResStr(name);
        for (const TSkinResourceString& entry : SkinResourceDefaults())
            if (SameText(entry.Name, name))
                return String(entry.Text);
        return String();
    };

    const TMsgDlgButtons set = content.Buttons != 0 ? content.Buttons : TMsgDlgButtons(mbOK);
    TspMessageButton* cancel = nullptr;
    for (const TButtonKind& kind : kButtonKinds) {
        if (!(set & kind.Button))
            continue;
        auto* button = new TspMessageButton(this);
        button->SetParent(this);
        button->SetCaption(text(kind.Text));
        button->ModalResult = kind.Result;
        button->SkinData = content.SkinData;
        button->SkinDataName = content.ButtonSkinDataName;
        button->BackgroundSkinDataName = content.SkinDataName;
        if (kind.Button == mbCancel)
            cancel = button;
        if (kind.Button == content.DefaultButton)
            button->Default = true;
        FButtons.push_back(button);
    }
    if (std::none_of(FButtons.begin(), FButtons.end(), [](const TspMessageButton* b) { return b->Default; }))
        FButtons.front()->Default = true;
    // Esc presses Cancel, or the only button; the close button is there only when Esc works.
    FEscape = cancel ? cancel : (FButtons.size() == 1 ? FButtons.front() : nullptr);
    if (FEscape)
        FEscape->Cancel = true;
    FSkinForm->SetCloseButton(FEscape != nullptr);

    if (content.ShowAgain) {
        FCheckBox = new TspMessageCheckBox(this);
        FCheckBox->SetParent(this);
        FCheckBox->SetCaption(text(skinres::kShowAgain));
        FCheckBox->SkinData = content.SkinData;
        FCheckBox->BackgroundSkinDataName = content.SkinDataName;
        FCheckBox->OnChange = [this](TObject*) { FShowAgainChecked = FCheckBox->Checked(); };
    }

    String caption = content.Caption;
    if (caption.empty())
        caption = KindText(content.DlgType) ? text(KindText(content.DlgType))
                                             : (ApplicationExists() ? Application().Title() : String());
    SetCaption(caption);

    OnKeyDown = [this](TObject*, WORD& Key, UINT Shift) {
        const bool ctrl = (Shift & kCtrlKey) && !(Shift & kAltKey);
        if (ctrl && (Key == 'C' || Key == VK_INSERT)) {
            CopyToClipboard();
            Key = 0;
        }
    };
    // The default button has the focus, as in the system's box.
    OnActivate = [this](TObject*) {
        if (!IsChild(Handle(), GetFocus()))
            for (TspMessageButton* button : FButtons)
                if (button->Default)
                    button->SetFocus();
    };
    OnCloseQuery = [this](TObject*, bool& CanClose) {
        // The close command ends the box only as Esc would.
        const bool byCommand = ModalResult() == mrCancel &&
            std::none_of(FButtons.begin(), FButtons.end(), [](const TspMessageButton* b) { return b->ModalResult == mrCancel; });
        if (!byCommand)
            return;
        if (FEscape)
            SetModalResult(FEscape->ModalResult);
        else
            CanClose = false;
    };
    Arrange();
}

String TspSkinMessageForm::IconElement() const
{
    switch (FContent.DlgType) {
    case TMsgDlgType::mtWarning: return skin::kMessageBoxIconWarning;
    case TMsgDlgType::mtError: return skin::kMessageBoxIconError;
    case TMsgDlgType::mtInformation: return skin::kMessageBoxIconInformation;
    case TMsgDlgType::mtConfirmation: return skin::kMessageBoxIconConfirmation;
    case TMsgDlgType::mtCustom: break;
    }
    return String();
}

void TspSkinMessageForm::Arrange()
{
    const UINT dpi = CurrentDpi();
    std::unique_ptr<TSkinResources> fallback;
    if (!FContent.SkinData)
        fallback = std::make_unique<TSkinResources>(nullptr);
    TSkinPainter painter = FContent.SkinData ? FContent.SkinData->Painter(dpi) : TSkinPainter(*fallback, dpi);
    const TSkinMetrics& metrics = painter.Skin().Metrics();
    const TSkinElement& body = painter.Element(FContent.SkinDataName);
    const TSkinElement& label = painter.Element(FContent.MessageLabelSkinDataName);
    const TSkinElement& buttonElement = painter.Element(FContent.ButtonSkinDataName);
    const int spacing = metrics.MessageBoxSpacing;
    const int iconSize = FContent.DlgType == TMsgDlgType::mtCustom ? 0 : metrics.MessageBoxIconSize;

    HDC dc = GetDC(nullptr);
    // The text, wrapped at the widest a box gets.
    HGDIOBJ oldFont = SelectObject(dc, painter.ElementFont(label));
    RECT measured{0, 0, ScaleToDpi(kMaxTextWidth, dpi), 0};
    String text = FContent.Text.empty() ? String(u" ") : FContent.Text;
    DrawTextW(dc, WStr(text), static_cast<int>(text.size()), &measured,
        DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    const TSkinMargins& labelPad = label.Padding;
    const int textWidth = Designed(measured.right, dpi) + labelPad.Left + labelPad.Right;
    const int textHeight = Designed(measured.bottom, dpi) + labelPad.Top + labelPad.Bottom;

    std::vector<int> widths;
    int row = 0;
    for (TspMessageButton* button : FButtons) {
        SIZE size = painter.MeasureText(dc, buttonElement, button->Caption());
        const int width = std::max<int>(metrics.MessageBoxButtonWidth,
            Designed(size.cx, dpi) + buttonElement.Padding.Left + buttonElement.Padding.Right);
        widths.push_back(width);
        row += width + (row > 0 ? kButtonGap : 0);
    }
    int checkWidth = 0, checkHeight = 0;
    if (FCheckBox) {
        SIZE size = painter.MeasureText(dc, painter.Element(skin::kCheckBox), FCheckBox->Caption());
        checkWidth = metrics.CheckBoxSize + metrics.CheckBoxSpacing + Designed(size.cx, dpi) + kCheckBoxRoom;
        checkHeight = std::max(metrics.CheckBoxSize, Designed(size.cy, dpi)) + kCheckBoxRoom;
    }
    ReleaseDC(nullptr, dc);

    const TSkinMargins& pad = body.Padding;
    const int lead = iconSize > 0 ? iconSize + spacing : 0;
    const int content = std::max({lead + textWidth, row, lead + checkWidth});
    const int width = std::max(kMinClientWidth, pad.Left + content + pad.Right);
    const int bodyHeight = std::max(iconSize, textHeight);
    int y = pad.Top;
    FIconRect = iconSize > 0 ? TRect{pad.Left, y, pad.Left + iconSize, y + iconSize} : TRect{};
    const int textTop = y + (bodyHeight - textHeight) / 2;
    FTextRect = TRect{pad.Left + lead, textTop, pad.Left + lead + textWidth, textTop + textHeight};
    y += bodyHeight + spacing;
    if (FCheckBox) {
        FCheckBox->SetBounds(pad.Left + lead, y, checkWidth, checkHeight);
        y += checkHeight + spacing;
    }
    int x = (width - row) / 2;
    for (size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->SetBounds(x, y, widths[i], metrics.MessageBoxButtonHeight);
        x += widths[i] + kButtonGap;
    }
    SetClientSize(width, y + metrics.MessageBoxButtonHeight + pad.Bottom);
}

void TspSkinMessageForm::Paint(HDC target)
{
    HWND window = Handle();
    RECT client;
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    const UINT dpi = CurrentDpi();
    std::unique_ptr<TSkinResources> fallback;
    if (!FContent.SkinData)
        fallback = std::make_unique<TSkinResources>(nullptr);
    TSkinPainter painter = FContent.SkinData ? FContent.SkinData->Painter(dpi) : TSkinPainter(*fallback, dpi);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const TColor back = painter.Element(FContent.SkinDataName).Fill[TSkinState::Normal];
    painter.Fill(dc, client, back != kClNone ? back : GetSysColor(COLOR_BTNFACE));
    if (FIconRect.Width() > 0) {
        const TSkinElement& icon = painter.Element(IconElement());
        const RECT place = Scaled(FIconRect, dpi);
        if (icon.Glyph[TSkinState::Normal].Empty())
            painter.DrawGlyph(dc, place, TSkinGlyph{KindGlyph(FContent.DlgType), {}}, icon.GlyphColor[TSkinState::Normal]);
        else
            painter.DrawElementGlyph(dc, place, icon, TSkinState::Normal);
    }
    painter.DrawText(dc, Scaled(FTextRect, dpi), painter.Element(FContent.MessageLabelSkinDataName),
        TSkinState::Normal, FContent.Text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void TspSkinMessageForm::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        Paint(dc);
        EndPaint(Handle(), &paint);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(message.WParam));
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_SHOWWINDOW:
        if (message.WParam)
            MessageBeep(KindSound(FContent.DlgType));
        break;
    default: break;
    }
    TForm::WndProc(message);
}

void TspSkinMessageForm::DescribeModalRequest(TModalRequest& request) const
{
    TForm::DescribeModalRequest(request);
    request.Text = FContent.Text;
    request.DlgType = FContent.DlgType;
    for (const TspMessageButton* button : FButtons)
        for (const TButtonKind& kind : kButtonKinds)
            if (kind.Result == button->ModalResult)
                request.Buttons |= kind.Button;
    request.ShowAgain = FContent.ShowAgain ? &FShowAgainChecked : nullptr;
}

String TspSkinMessageForm::ClipboardText() const
{
    const String line = u"---------------------------\r\n";
    String text = line + Caption() + u"\r\n" + line + FContent.Text + u"\r\n" + line;
    for (const TspMessageButton* button : FButtons)
        text += StripAccelerators(button->Caption()) + u"   ";
    return text + u"\r\n" + line;
}

void TspSkinMessageForm::CopyToClipboard()
{
    const String text = ClipboardText();
    if (!OpenClipboard(Handle()))
        return;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            if (!SetClipboardData(CF_UNICODETEXT, memory))
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

} // namespace vp
