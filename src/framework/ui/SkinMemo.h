// TspSkinMemo: a read-only box of text lines in a frame drawn from the skin ("Memo"), for
// logs. Lines hands out the list; what the program changes in it shows once the current
// message is done (or at once through SetLines), scrolled to the last line.
#pragma once

#include "framework/ui/SkinControl.h"
#include "framework/ui/SkinEditField.h"

#include <memory>

namespace vp {

class TspSkinMemo : public TspSkinControl {
    VP_CLASS(TspSkinMemo)
public:
    explicit TspSkinMemo(TComponent* aOwner);
    ~TspSkinMemo() override;

    TStringList* Lines();
    void SetLines(const TStringList& value);
    TSkinEditField& Field() { return *FField; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void AdjustClientRect(RECT& rect) override;
    void SkinLayoutChanged() override;

private:
    void ShowLines();

    std::unique_ptr<TSkinEditField> FField;
    TStringList FLines;
    bool FUpdatePosted = false;
};

} // namespace vp
