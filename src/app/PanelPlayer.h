// TPanelPlayer: the status panel's player, a child window that plays the panel's scene. It
// takes the panel's commands as assignments to its variable "callbackvar" (SetVariable),
// draws the two cards, the pictures and the status lines, and raises FSCommand("CMD", ...)
// when a hot spot is clicked. Frames are drawn only while something moves: after each
// command one timer is armed for the next frame due, and none while the panel is idle. Time
// comes from the program's clock (GetTickCount32), so tests can drive it.
#pragma once

#include "app/PanelFlags.h"
#include "app/PanelModel.h"
#include "app/PanelPainter.h"
#include "framework/ui/Controls.h"

#include <functional>

namespace vp {

using TFSCommandEvent = std::function<void(const String& command, const String& args)>;

class TPanelPlayer : public TWinControl {
    VP_CLASS(TPanelPlayer)
public:
    explicit TPanelPlayer(TComponent* aOwner);
    ~TPanelPlayer() override;

    // The scene file. Assigning it reads the scene; a missing or unreadable file leaves
    // the built-in scene.
    String Movie() const { return FMovie; }
    void SetMovie(const String& value);
    // Whether the scene file could be read.
    bool MovieLoaded() const { return FMovieLoaded; }

    // The player has no context menu of its own and its scene does not loop: the cards stay
    // where the commands put them. Both values are kept as given.
    bool Menu() const { return FMenu; }
    void SetMenu(bool value) { FMenu = value; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool value) { FLoop = value; }
    // 0 draws without smoothing; any other value smooths shapes, pictures and text.
    int Quality() const { return FQuality; }
    void SetQuality(int value);

    // "callbackvar" carries the panel's commands; other names are ignored.
    void SetVariable(const String& name, const String& value);
    // The text last assigned to "callbackvar" (taken as a command or not); "" for other names.
    String GetVariable(const String& name) const;

    TFSCommandEvent OnFSCommand;

    // Whether a frame timer is armed (something moves).
    bool FrameTimerArmed() const { return FFrameTimerArmed; }
    // Draws the present frame into dc at (0, 0), as WM_PRINTCLIENT does.
    void PaintTo(HDC dc);
    const TPanelModel& Model() const { return FModel; }
    const TPanelFlagCache& Flags() const { return FFlags; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    void DpiChanged(UINT dpi) override;

private:
    int64_t NowMs();
    // Arms the frame timer for the next frame due, or kills it when nothing moves.
    void ScheduleFrame();
    void Repaint();
    void RequestFlags();
    // The scene's scale on this window and a window point in scene units.
    double SceneScale() const;
    StringView HotSpotAtPixel(int x, int y) const;
    void Paint();
    bool SetHotSpotCursor();
    void MouseDown(LPARAM lParam);
    void MouseUp(LPARAM lParam);

    String FMovie;
    String FCallbackVar;
    bool FMovieLoaded = false;
    bool FMenu = true;
    bool FLoop = true;
    int FQuality = 1;

    TPanelModel FModel;
    TPanelFlagCache FFlags;
    TPanelPainter FPainter;
    bool FFrameTimerArmed = false;
    // The hot spot the left button went down on.
    String FPressedHotSpot;
    // The clock's tick count as a count that never wraps.
    bool FClockStarted = false;
    uint32_t FLastTick = 0;
    int64_t FElapsedMs = 0;
};

} // namespace vp
