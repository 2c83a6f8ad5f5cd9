// TSkinEditField: the system's EDIT inside a skinned control (the spin field's number, the
// memo's lines). It writes in the host's skin colours and font, and the host sees its
// messages first (keys, focus, changes).
#pragma once

#include "framework/ui/SkinControl.h"

namespace vp {

class TSkinEditField : public TWinControl {
    VP_CLASS(TSkinEditField)
public:
    TSkinEditField(TspSkinControl& host, DWORD style);

    // What the field shows now (what was typed included).
    String Text() const;
    void SetText(const String& value);
    // The host's handling, before the field's own: true when it answered the message.
    std::function<bool(TMessage&)> OnMessage;
    // The host's skin changed: a new font.
    void SkinChanged();

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    HFONT FontForDpi(UINT dpi) override;

private:
    TspSkinControl& FHost;
    DWORD FStyle;
};

} // namespace vp
