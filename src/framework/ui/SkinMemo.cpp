#include "framework/ui/SkinMemo.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr WPARAM kUpdateLines = 1;
constexpr WPARAM kUpdateSync = 2;

} // namespace

const TClassInfo& TspSkinMemo::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinMemo, TspSkinControl>(u"TspSkinMemo")
                                       .Strings(u"Lines", &TspSkinMemo::Lines, &TspSkinMemo::SetLines)
                                       .Build();
    return info;
}

TspSkinMemo::TspSkinMemo(TComponent* aOwner)
    : TspSkinControl(aOwner, skin::kMemo),
      FField(std::make_unique<TSkinEditField>(*this, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL)),
      FScrollBar(std::make_unique<TspSkinScrollBar>(nullptr))
{
    FWidth = 185;
    FHeight = 89;
    FClicksOnMouseUp = false;
    FScrollBar->SetAlign(TAlign::alRight);
    FScrollBar->SetParent(this);
    FScrollBar->SetTarget(this);
    FField->SetAlign(TAlign::alClient);
    FField->SetParent(this);
    FField->OnMessage = [this](TMessage& message) {
        switch (message.Msg) {
        case WM_GETDLGCODE:
            // A log box keeps Tab, Enter and Esc for the window (the edit would take them all).
            message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            message.Handled = true;
            return true;
        case WM_SIZE:
        case WM_KEYDOWN:
        case WM_MOUSEWHEEL:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            // The field scrolls itself: the bar catches up afterwards.
            PostUpdate(kUpdateSync);
            return false;
        default: return false;
        }
    };
}

TspSkinMemo::~TspSkinMemo()
{
    FField.reset();
    FScrollBar.reset();
}

void TspSkinMemo::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinMemo::CreateWnd()
{
    TspSkinControl::CreateWnd();
    // The field is made after this window, already at its size: it shows the lines, with its
    // margins, once it is there.
    ShowLines();
    PostUpdate(kUpdateLines);
}

void TspSkinMemo::PostUpdate(WPARAM what)
{
    if (!HandleAllocated())
        return;
    bool& posted = what == kUpdateLines ? FLinesPosted : FSyncPosted;
    if (!posted) {
        posted = true;
        PostMessageW(Handle(), WM_VP_UPDATE, what, 0);
    }
}

TStringList* TspSkinMemo::Lines()
{
    // The caller may change the list: the window catches up once this message is done.
    PostUpdate(kUpdateLines);
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
    SyncField();
    if (FField->HandleAllocated()) {
        SendMessageW(FField->Handle(), EM_SETSEL, static_cast<WPARAM>(text.size()), static_cast<LPARAM>(text.size()));
        SendMessageW(FField->Handle(), EM_SCROLLCARET, 0, 0);
        SyncField();
    }
}

void TspSkinMemo::SyncField()
{
    if (!FField->HandleAllocated())
        return;
    HWND field = FField->Handle();
    TSkinPainter painter = Painter();
    RECT padding = painter.Padding(Element());
    RECT client;
    GetClientRect(field, &client);
    RECT text{client.left + padding.left, client.top + padding.top, client.right - padding.right / 2,
        client.bottom - padding.bottom};
    RECT current{};
    SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&current));
    if (!EqualRect(&current, &text))
        SendMessageW(field, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
    // Lines, the lines in view, and the first one shown.
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int lines = static_cast<int>(SendMessageW(field, EM_GETLINECOUNT, 0, 0));
    const int page = std::max<int>(1, (text.bottom - text.top) / std::max<int>(1, metrics.tmHeight));
    FScrollBar->SetRange(0, std::max(0, lines - 1), page);
    FScrollBar->SetPosition(static_cast<int>(SendMessageW(field, EM_GETFIRSTVISIBLELINE, 0, 0)));
}

void TspSkinMemo::ScrollBarChanged(TspSkinScrollBar* scrollBar)
{
    if (!FField->HandleAllocated())
        return;
    const int first = static_cast<int>(SendMessageW(FField->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageW(FField->Handle(), EM_LINESCROLL, 0, scrollBar->Position() - first);
}

void TspSkinMemo::AdjustClientRect(RECT& rect)
{
    // Inside the frame; the text keeps the padding inside the field.
    const TSkinElement& element = Element();
    const int border = element.BorderWidth > 0 ? std::max(1, Scaled(element.BorderWidth)) : 0;
    InflateRect(&rect, -border, -border);
    rect.right = std::max(rect.left, rect.right);
    rect.bottom = std::max(rect.top, rect.bottom);
}

void TspSkinMemo::SkinLayoutChanged()
{
    FField->SkinChanged();
    FScrollBar->SetSkinData(SkinData());
    FScrollBar->SetWidth(Skin().Metrics().ScrollBarWidth);
    AlignControls();
    SyncField();
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
        if (message.WParam == kUpdateLines) {
            FLinesPosted = false;
            ShowLines();
        } else {
            FSyncPosted = false;
            SyncField();
        }
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
    case WM_MOUSEWHEEL:
        // Over the frame or the bar: the field scrolls.
        if (FField->HandleAllocated()) {
            message.Result = SendMessageW(FField->Handle(), message.Msg, message.WParam, message.LParam);
            message.Handled = true;
            return;
        }
        break;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
