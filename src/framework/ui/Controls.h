// TControl and TWinControl: components with a place on screen. A TWinControl owns a Win32
// window, created when first needed. Its messages take one way: the hooks (newest first,
// until one answers), then the control's own WndProc, then the window class's default.
// Sizes and positions are designed in 96-DPI units and scaled to the window's DPI; only a
// top-level window's position is in screen pixels. Children aligned to an edge or to the
// client area follow their parent's size (AlignLayout.h).
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/ui/AlignLayout.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Messages.h"

#include <vector>

namespace vp {

class TWinControl;

class TControl : public TComponent {
    VP_CLASS(TControl)
    friend class TWinControl;

public:
    explicit TControl(TComponent* aOwner);
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
    void SetHint(const String& value);

    // Aligned to an edge or the client area of the parent, the control follows its size.
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    // The DPI the control is laid out at: its window's, else its parent's.
    virtual UINT CurrentDpi() const;
    int ScaleValue(int designed) const { return ScaleToDpi(designed, CurrentDpi()); }

    TNotifyEvent OnClick;

protected:
    // The caption changed; windowed controls pass it to their window.
    virtual void CaptionChanged() { }
    virtual void HintChanged() { }
    virtual void BoundsChanged() { }
    // The parent lays its aligned children out again (this one is or was aligned).
    void RequestAlign();

    String FCaption;
    String FHint;
    TWinControl* FParent = nullptr;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = TAlign::alNone;
};

class TWinControl : public TControl {
    VP_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* aOwner);
    ~TWinControl() override;

    // The window, created on first use (with its parents before it and its children after).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();

    // Puts a hook in front of the control's own message handling; see THookToken.
    [[nodiscard]] THookToken AddMessageHook(TMessageHook hook);
    // Sends a message along the window's whole way (the window's own path once it exists).
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
    // Hooks, then WndProc; no window call unless WndProc asks for the default.
    void Dispatch(TMessage& message);

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void SetParent(TWinControl* parent) override;
    UINT CurrentDpi() const override;

    // Keyboard focus; TabStop puts the control in the Tab order of its window.
    void SetFocus();
    bool Focused() const;
    bool TabStop = false;

    // Controls placed on this one.
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls[static_cast<size_t>(index)]; }
    // The identifier of a child window, unique within its top-level window (0 for that one),
    // so the dialog navigation finds the control a default button's identifier names.
    int ControlId() const { return FControlId; }

    // Places the visible aligned children in the client area (less AdjustClientRect). Runs
    // when the window is sized, when its children's windows are made, and when an aligned
    // child changes its visibility, alignment or size.
    void AlignControls();

    // The control of a window of the toolkit or a system control it subclassed; nullptr
    // for any other window.
    static TWinControl* FindControl(HWND window);

protected:
    struct TCreateParams {
        String ClassName; // registered on first use with the fields below
        String SystemClass; // non-empty: a system control (BUTTON, EDIT, ...), subclassed
        DWORD Style = 0;
        DWORD ExStyle = 0;
        UINT ClassStyle = CS_DBLCLKS;
        HCURSOR Cursor = nullptr;
        HBRUSH Background = nullptr;
        HICON Icon = nullptr;
        HWND ParentWindow = nullptr;
    };
    virtual void CreateParams(TCreateParams& params);
    // Called once the window exists, before its children are made.
    virtual void CreateWnd() { }
    // The control's own handling of messages; what it does not answer goes to DefaultHandler.
    virtual void WndProc(TMessage& message);
    // What the window class does with a message; marks it handled.
    void DefaultHandler(TMessage& message);
    void CaptionChanged() override;
    // The font the window gets at dpi: the system's message font unless a control knows better.
    virtual HFONT FontForDpi(UINT dpi);
    // The window now works at dpi: placed and given its font again; controls with cached
    // drawing resources drop them here.
    virtual void DpiChanged(UINT dpi);
    // Pixels of the window for the designed bounds at the current DPI.
    virtual RECT BoundsInPixels() const;
    // Applies a new DPI to this control and every child window below it.
    void ApplyDpi(UINT dpi);
    // The part of the client area (pixels) that aligned children share; a framed control
    // keeps its frame out of it.
    virtual void AdjustClientRect(RECT& rect) { (void)rect; }

    UINT FDpi = 0; // 0 until the window exists

private:
    friend class THookToken;
    friend class TControl;
    void CreateHandle();
    void CreateChildHandles();
    int NewControlId();
    void UpdateBoundsFromWindow();
    bool ReflectToChild(TMessage& message);
    static LRESULT CALLBACK StandardWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(
        HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) noexcept;
    static LRESULT Route(TWinControl* control, HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND FHandle = nullptr;
    bool FSubclassed = false;
    int FSubclassDepth = 0; // calls of SubclassProc on the stack, for DefSubclassProc
    std::shared_ptr<TMessageHookList> FHooks;
    std::vector<TControl*> FControls;
    bool FCreatingHandle = false;
    bool FSettingBounds = false;
    bool FAligning = false;
    int FControlId = 0;
    int FNextChildId = 100;
};

// How many window procedures of the toolkit are on the stack of this thread; 0 between
// messages. Forms released with caFree are freed only then.
int WindowDispatchDepth();
// Counts a callback of the toolkit's own (timers, synchronized calls) as a dispatch.
class TWindowDispatchScope {
public:
    TWindowDispatchScope();
    ~TWindowDispatchScope();
    TWindowDispatchScope(const TWindowDispatchScope&) = delete;
    TWindowDispatchScope& operator=(const TWindowDispatchScope&) = delete;
};

} // namespace vp
