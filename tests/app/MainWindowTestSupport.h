// What the main window's tests share: an install folder with the shipped data files, a
// publisher stand-in on 127.0.0.1 for the location lookup and the keep-alive requests, a clock
// and a random source the test moves, the main window made as the runner makes it, and the
// system proxy as the registry holds it.
#pragma once

#include "app/uFlashForm.h"
#include "app/uMain.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/Random.h"
#include "support/BrowsersTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace vptest {

// The program's folder (const.dat, res\, lang\ beside a pretend Veilport.exe) and a settings
// folder of its own; made once for the test program.
class TMainInstall {
public:
    TMainInstall();
    ~TMainInstall();
    const vp::String& Folder() const { return FFolder; }
    // Requests the program sent: location lookups ("/getinfo...") and keep-alives ("/touch...").
    size_t CountRequests(const std::string& pathStart) const;

private:
    TLoopbackHttpServer FServer;
    TTempFolder FTemp;
    vp::String FFolder;
};
const TMainInstall& MainInstall();

// Now() moves only when the test moves it; the tick count stays the system's.
class TStepClock : public vp::TClock {
public:
    TStepClock() { vp::SetClock(this); }
    ~TStepClock() override { vp::SetClock(nullptr); }
    vp::TDateTime Now() override { return Time; }
    uint32_t TickCount() override { return vp::SystemClock().TickCount(); }
    void AddSeconds(double seconds) { Time += seconds / 86400.0; }
    vp::TDateTime Time = 46000.5;
};

// Every draw answers Value (so a selection over both pools takes the super pool first).
class TFixedRandom : public vp::TRandomSource {
public:
    TFixedRandom() { vp::SetRandomSource(this); }
    ~TFixedRandom() override { vp::SetRandomSource(nullptr); }
    int32_t Next(int32_t range) override { return range > 0 ? Value % range : 0; }
    int32_t Value = 5;
};

// Pool entries as the publisher's configuration push writes them.
vp::String PoolEntry(const vp::String& address, const vp::String& countryLong, const vp::String& code);

// A main window with everything a test needs around it: application, message recorder,
// clock, the user's proxy settings guarded, the pools and settings given.
class TMainWindowFixture {
public:
    TMainWindowFixture();
    ~TMainWindowFixture();

    // Creates the window as the runner does (components, loading, creation handler).
    vp::TfrmMain& Create();
    vp::TfrmMain& Main() { return *FMain; }
    // Destroys the window (its destruction handler runs).
    void Destroy();
    vp::TfrmFlashForm& Panel();
    const vp::TPanelState& PanelState();

    // The location service's reply, as the lookup's thread hands it over.
    void ReplyLocation(const vp::String& countryShort = u"DE");
    // Loads the pools from the settings as the start-up timer does.
    void SetPools(const vp::String& normal, const vp::String& super = u"");

    // Keys of the message boxes shown so far ("[AppRes]" + key when the language has none,
    // else the text), and the number of the boxes that offered the show-again choice.
    std::vector<vp::String> MessageTexts() const;
    // How many boxes the key's text was shown in.
    int CountMessages(const vp::String& key) const;
    void ClearMessages() { FRecorder->Requests.clear(); }
    const std::vector<vp::TModalRequest>& Requests() const { return FRecorder->Requests; }

    // The system proxy as the registry holds it.
    static bool ProxyEnabled();
    static vp::String ProxyServer();
    // The system switch writes one proxy for every protocol.
    static bool SystemProxyIs(const vp::String& proxy);

    TStepClock Clock;
    TFixedRandom Random;

private:
    TApplicationScope FScope;
    std::unique_ptr<TModalRecorder> FRecorder;
    TUserProxySettings FProxySettings;
    std::vector<std::unique_ptr<TSettingOverride>> FSettings;
    vp::TfrmMain* FMain = nullptr;

public:
    // Sets a setting for the fixture's lifetime.
    void Set(const vp::String& key, const vp::String& value);
};

} // namespace vptest
