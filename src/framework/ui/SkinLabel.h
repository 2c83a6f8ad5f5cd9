// Texts drawn from the skin. TspSkinStdLabel ("Label") shows one line, or several words
// wrapped to its width; AutoSize fits it to its text. TspSkinLinkLabel ("LinkLabel") is an
// underlined link with a hand pointer that the keyboard reaches: a click, Enter, Space or its
// mnemonic run OnClick when set, else open URL with the shell's "open" action.
#pragma once

#include "framework/ui/SkinControl.h"

namespace vp {

class TspSkinStdLabel : public TspSkinControl {
    VP_CLASS(TspSkinStdLabel)
public:
    explicit TspSkinStdLabel(TComponent* aOwner);

    // Width (one line) or height (wrapped) follow the text, the font and the DPI.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    // The parent shows through; otherwise the element's own colour fills the label first.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

protected:
    TspSkinStdLabel(TComponent* aOwner, const String& skinDataName);
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void CaptionChanged() override;
    void SkinLayoutChanged() override;
    void CreateWnd() override;
    // The rectangle the text takes within client.
    RECT TextRect(HDC dc, const RECT& client) const;
    UINT TextFormat() const;
    TSkinState TextState() const;

private:
    void AdjustSize();

    bool FAutoSize = true;
    bool FWordWrap = false;
    bool FTransparent = false;
};

class TspSkinLinkLabel : public TspSkinStdLabel {
    VP_CLASS(TspSkinLinkLabel)
public:
    explicit TspSkinLinkLabel(TComponent* aOwner);

    String URL() const { return FURL; }
    void SetURL(const String& value) { FURL = value; }
    // OnClick, or the shell opens URL.
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    String FURL;
    bool FKeyDown = false;
};

} // namespace vp
