#include "framework/ui/SkinControl.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "framework/ui/SkinElementNames.h"

namespace vp {

namespace {

// Drawing resources of the built-in look, for controls without skin data.
TSkinResources& BuiltinResources()
{
    static TSkinResources resources(nullptr);
    return resources;
}

} // namespace

const TClassInfo& TspSkinControl::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinControl, TCustomControl>(u"TspSkinControl")
            .Object(u"SkinData", u"TspSkinData", &TspSkinControl::SkinData, &TspSkinControl::SetSkinData)
            .WideText(u"SkinDataName", u"string", &TspSkinControl::SkinDataName, &TspSkinControl::SetSkinDataName)
            .Build();
    return info;
}

TspSkinControl::TspSkinControl(TComponent* aOwner, const String& skinDataName)
    : TCustomControl(aOwner), FSkinDataName(skinDataName)
{
}

TspSkinControl::~TspSkinControl()
{
    if (FSkinData)
        FSkinData->RemoveClient(this);
}

void TspSkinControl::SetSkinData(TspSkinData* value)
{
    if (value == FSkinData)
        return;
    if (FSkinData)
        FSkinData->RemoveClient(this);
    FSkinData = value;
    if (FSkinData)
        FSkinData->AddClient(this);
    SkinChanged();
}

void TspSkinControl::SetSkinDataName(const String& value)
{
    if (value == FSkinDataName)
        return;
    FSkinDataName = value;
    SkinChanged();
}

void TspSkinControl::Notification(TComponent* aComponent, TOperation operation)
{
    TCustomControl::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FSkinData) {
        FSkinData = nullptr;
        if (!IsDestroying())
            SkinChanged();
    }
}

void TspSkinControl::SkinChanged()
{
    SkinLayoutChanged();
    if (HandleAllocated()) {
        UpdateTooltip();
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TspSkinControl::DpiChanged(UINT dpi)
{
    TCustomControl::DpiChanged(dpi);
    SkinLayoutChanged();
}

const TSkinDefinition& TspSkinControl::Skin() const
{
    return FSkinData ? FSkinData->Skin() : BuiltinResources().Skin();
}

const TSkinElement& TspSkinControl::Element(StringView suffix) const
{
    if (suffix.empty())
        return Skin().Element(FSkinDataName);
    return Skin().Element(FSkinDataName + String(suffix));
}

TSkinPainter TspSkinControl::Painter() const
{
    return FSkinData ? FSkinData->Painter(CurrentDpi()) : TSkinPainter(BuiltinResources(), CurrentDpi());
}

TSkinState TspSkinControl::StateFor(bool pressed, bool hot, bool focused) const
{
    if (!Enabled())
        return TSkinState::Disabled;
    if (pressed)
        return TSkinState::Pressed;
    if (hot)
        return TSkinState::Hot;
    if (focused && FocusCuesShown())
        return TSkinState::Focused;
    return TSkinState::Normal;
}

void TspSkinControl::ConfigureTooltip(HWND tooltip)
{
    // The skin's colours need the tooltip without the system's visual style.
    SetWindowTheme(tooltip, L"", L"");
    const TSkinElement& hint = Skin().Element(skin::kHint);
    TSkinPainter painter = Painter();
    if (hint.Fill[TSkinState::Normal] != kClNone)
        SendMessageW(tooltip, TTM_SETTIPBKCOLOR, hint.Fill[TSkinState::Normal], 0);
    if (hint.Text[TSkinState::Normal] != kClNone)
        SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, hint.Text[TSkinState::Normal], 0);
    RECT padding = painter.Padding(hint);
    SendMessageW(tooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&padding));
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, painter.Scale(Skin().Metrics().HintMaxWidth));
    SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(painter.ElementFont(hint)), TRUE);
}

} // namespace vp
