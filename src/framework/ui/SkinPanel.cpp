#include "framework/ui/SkinPanel.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

const TClassInfo& TspSkinPanel::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinPanel, TspSkinControl>(u"TspSkinPanel").Build();
    return info;
}

TspSkinPanel::TspSkinPanel(TComponent* aOwner) : TspSkinControl(aOwner, skin::kPanel)
{
    FWidth = 185;
    FHeight = 41;
    FClicksOnMouseUp = false;
}

void TspSkinPanel::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinPanel::AdjustClientRect(RECT& rect)
{
    const TSkinElement& element = Element();
    if (element.BorderWidth <= 0 || element.Border[TSkinState::Normal] == kClNone)
        return;
    int border = std::max(1, Scaled(element.BorderWidth));
    InflateRect(&rect, -border, -border);
}

void TspSkinPanel::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    const TSkinState state = Enabled() ? TSkinState::Normal : TSkinState::Disabled;
    painter.DrawElement(dc, client, element, state);
    if (!FCaption.empty())
        painter.DrawText(dc, client, element, state, FCaption,
            DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | PrefixFlags());
}

} // namespace vp
