// TspSkinPanel: a container drawn from the skin ("Panel"; "Panel.Framed" for a framed one),
// usually aligned to an edge or the client area of its window. Tab walks into its controls;
// its caption, when it has one, is drawn in the middle.
#pragma once

#include "framework/ui/SkinControl.h"

namespace vp {

class TspSkinPanel : public TspSkinControl {
    VP_CLASS(TspSkinPanel)
public:
    explicit TspSkinPanel(TComponent* aOwner);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(HDC dc, const RECT& client) override;
    // Aligned children keep off the frame.
    void AdjustClientRect(RECT& rect) override;
};

} // namespace vp
