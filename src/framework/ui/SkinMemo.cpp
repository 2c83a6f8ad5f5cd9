#include "framework/ui/SkinMemo.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

const TClassInfo& TspSkinMemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinMemo, TspSkinControl>(u"TspSkinMemo")
                                       .Strings(u"Lines", &TspSkinMemo::Lines, &TspSkinMemo::SetLines)
                                       .Build();
    return info;
}

TspSkinMemo::TspSkinMemo(TComponent* aOwner)
    : TspSkinControl(aOwner, skin::kMemo),
      FField(std::make_unique<TSkinEditField>(*this, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL))
{
    FWidth = 185;
    FHeight = 89;
    FClicksOnMouseUp = false;
    FField->SetAlign(TAlign::alClient);
    FField->SetParent(this);
    FField->OnMessage = [](TMessage& message) {
        if (message.Msg != WM_GETDLGCODE)
            return false;
        // A log box keeps Tab, Enter and Esc for the window (the edit would take them all).
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        message.Handled = true;
        return true;
    };
}

TspSkinMemo::~TspSkinMemo()
{
    FField.reset();
}

void TspSkinMemo::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinMemo::CreateWnd()
{
    TspSkinControl::CreateWnd();
    ShowLines();
}

TStringList* TspSkinMemo::Lines()
{
    // The caller may change the list: the window catches up once this message is done.
    if (HandleAllocated() && !FUpdatePosted) {
        FUpdatePosted = true;
        PostMessageW(Handle(), WM_VP_UPDATE, 0, 0);
    }
    return &FLines;
}

void TspSkinMemo::SetLines(const TStringList& value)
{
    FLines = value;
    ShowLines();
}

void TspSkinMemo::ShowLines()
{
    String text = FLines.Text();
    // No line break after the last line, or an empty line shows under it.
    if (text.size() >= 2)
        text.resize(text.size() - 2);
    FField->SetText(text);
    if (FField->HandleAllocated()) {
        SendMessageW(FField->Handle(), EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
        SendMessageW(FField->Handle(), EM_SCROLLCARET, 0, 0);
    }
}

void TspSkinMemo::AdjustClientRect(RECT& rect)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    RECT padding = painter.Padding(element);
    const int border = element.BorderWidth > 0 ? std::max(1, painter.Scale(element.BorderWidth)) : 0;
    rect.left += border + padding.left;
    rect.top += border + padding.top;
    rect.right = std::max(rect.left, rect.right - border - padding.right / 2);
    rect.bottom = std::max(rect.top, rect.bottom - border - padding.bottom);
}

void TspSkinMemo::SkinLayoutChanged()
{
    FField->SkinChanged();
    AlignControls();
}

void TspSkinMemo::Paint(HDC dc, const RECT& client)
{
    const TSkinState state = !Enabled() ? TSkinState::Disabled : FField->Focused() ? TSkinState::Focused : TSkinState::Normal;
    Painter().DrawElement(dc, client, Element(), state);
}

void TspSkinMemo::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_VP_UPDATE:
        FUpdatePosted = false;
        ShowLines();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_SETFOCUS:
        if (FField->HandleAllocated())
            ::SetFocus(FField->Handle());
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_COMMAND:
        // The field's focus moves the frame's look.
        if (HIWORD(message.WParam) == EN_SETFOCUS || HIWORD(message.WParam) == EN_KILLFOCUS)
            Invalidate();
        break;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
