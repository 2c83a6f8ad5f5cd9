// TControl and TWinControl: components with a place on screen; a TWinControl owns a Win32
// window, created when first needed, whose messages go through a replaceable WindowProc.
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/ui/Messages.h"

namespace vp {

class TWinControl;

class TControl : public TComponent {
    VP_CLASS(TControl)
    friend class TWinControl;

public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    String Caption() const { return FCaption; }
    void SetCaption(const String& value);
    String Hint() const { return FHint; }
    void SetHint(const String& value) { FHint = value; }

    TNotifyEvent OnClick;

protected:
    // The caption changed; windowed controls pass it to their window.
    virtual void CaptionChanged() { }
    virtual void BoundsChanged() { }

    String FCaption;
    String FHint;
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
};

class TWinControl : public TControl {
    VP_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, created on first use.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();

    // Every message of the window goes through WindowProc, which starts as WndProc. A hook
    // keeps the previous value and calls it for what it does not handle.
    TWndMethod WindowProc;
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;

    // Controls placed on this one.
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls[static_cast<size_t>(index)]; }

protected:
    struct TCreateParams {
        String ClassName; // registered on first use with the fields below
        String SystemClass; // non-empty: subclass this system class instead (BUTTON, ...)
        DWORD Style = 0;
        DWORD ExStyle = 0;
        UINT ClassStyle = CS_DBLCLKS;
        HCURSOR Cursor = nullptr;
        HBRUSH Background = nullptr;
        HICON Icon = nullptr;
        HWND ParentWindow = nullptr;
    };
    virtual void CreateParams(TCreateParams& params);
    // Called once the window exists.
    virtual void CreateWnd() { }
    // The default handling of messages.
    virtual void WndProc(TMessage& message);
    // What the window class does with a message nobody handled.
    void DefaultHandler(TMessage& message);
    void CaptionChanged() override;

private:
    friend class TControl;
    void CreateHandle();
    static LRESULT CALLBACK InitialWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    std::vector<TControl*> FControls;
    bool FCreatingHandle = false;
};

} // namespace vp
