#include "framework/rtl/DebugChannel.h"

#include "framework/rtl/DateTime.h"
#include "framework/rtl/FileUtils.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>

namespace vp {

// The platform half: the system debugger output.
void DebugOutputLine(StringView line);

namespace {

struct TChannelState {
    std::mutex Guard;
    bool Active = false;
    bool AutoStart = false;
    bool Started = false;
};

TChannelState& State()
{
    static TChannelState state;
    return state;
}

String TwoDigits(int value)
{
    String text = IntToStr(value);
    return text.size() < 2 ? u"0" + text : text;
}

} // namespace

namespace {
std::atomic<bool> gDebugMode{false};
} // namespace

void SetDebugMode(bool on)
{
    gDebugMode = on;
}

bool DebugMode()
{
    return gDebugMode;
}

void DebugSetActive(bool active)
{
    std::lock_guard<std::mutex> lock(State().Guard);
    State().Active = active;
}

bool DebugIsActive()
{
    std::lock_guard<std::mutex> lock(State().Guard);
    return State().Active;
}

void DebugSetAutoStart(bool autoStart)
{
    std::lock_guard<std::mutex> lock(State().Guard);
    State().AutoStart = autoStart;
}

bool DebugAutoStart()
{
    std::lock_guard<std::mutex> lock(State().Guard);
    return State().AutoStart;
}

void DebugStart()
{
    std::lock_guard<std::mutex> lock(State().Guard);
    State().Started = true;
}

void DebugStop()
{
    std::lock_guard<std::mutex> lock(State().Guard);
    State().Started = false;
}

bool DebugIsStarted()
{
    std::lock_guard<std::mutex> lock(State().Guard);
    return State().Started;
}

String DebugLogFileName()
{
    return SystemTempFolder() + u"Veilport-debug.log";
}

void DebugSend(StringView text, StringView tag)
{
    TChannelState& state = State();
    std::lock_guard<std::mutex> lock(state.Guard);
    if (!state.Active)
        return;
    if (!state.Started) {
        if (!state.AutoStart)
            return;
        state.Started = true;
    }
    TSystemTime t = DecodeDateTime(Now());
    String line = TwoDigits(t.Hour) + u":" + TwoDigits(t.Minute) + u":" + TwoDigits(t.Second) + u" [" +
        String(tag) + u"] " + String(text);
    DebugOutputLine(line);
    // The log is for people reading along: losing a line is better than failing the caller.
    std::ofstream log(ToFsPath(DebugLogFileName()), std::ios::binary | std::ios::app);
    if (log)
        log << U16ToUtf8(line) << "\r\n";
}

} // namespace vp
