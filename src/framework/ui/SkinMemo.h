// TspSkinMemo: a read-only box of text lines in a frame drawn from the skin ("Memo"), with a
// skinned scroll bar, for logs. Lines hands out the list; what the program changes in it
// shows once the current message is done (or at once through SetLines), scrolled to the last
// line.
#pragma once

#include "framework/ui/SkinEditField.h"
#include "framework/ui/SkinScrollBar.h"

#include <memory>

namespace vp {

class TspSkinMemo : public TspSkinControl, public IScrollBarTarget {
    VP_CLASS(TspSkinMemo)
public:
    explicit TspSkinMemo(TComponent* aOwner);
    ~TspSkinMemo() override;

    TStringList* Lines();
    void SetLines(const TStringList& value);
    TSkinEditField& Field() { return *FField; }
    TspSkinScrollBar& ScrollBar() { return *FScrollBar; }

    void ScrollBarChanged(TspSkinScrollBar* scrollBar) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void AdjustClientRect(RECT& rect) override;
    void SkinLayoutChanged() override;

private:
    void ShowLines();
    // The field's text margins and the scroll bar follow the field.
    void SyncField();
    void PostUpdate(WPARAM what);

    std::unique_ptr<TSkinEditField> FField;
    std::unique_ptr<TspSkinScrollBar> FScrollBar;
    TStringList FLines;
    bool FLinesPosted = false;
    bool FSyncPosted = false;
};

} // namespace vp
