// A program built on the start-up runner, for the tests of the instance protocol. Its main
// window is called TfrmMain like the real one and records what reaches it.
//   VP_RECORD_FILE      file the lines go to
//   VP_BUSY_MS          the deferred start-up waits that long while the loop runs (busy)
//   VP_ANSWER_BOXES     message boxes are recorded and answered OK instead of shown
//   VP_HIDE_PROXY       the window's creation runs the system switch as the real one does:
//                       "" (Stop Hide), then this proxy unless it is "-" (Hide IP)
//   VP_CONNECTIONS      the dial-up connections the switch is told of, ";" between them
#include <windows.h>

#include "app/CLMain.h"
#include "browsers/IEProxyWin.h"
#include "browsers/SystemProxyBackupWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/TextUtils.h"
#include "framework/ui/Timers.h"

#include <filesystem>
#include <fstream>
#include <string>

using namespace vp;

namespace {

std::wstring Env(const wchar_t* name)
{
    wchar_t buffer[4096];
    DWORD size = GetEnvironmentVariableW(name, buffer, 4096);
    return (size == 0 || size >= 4096) ? std::wstring() : std::wstring(buffer, size);
}

void Record(const String& line)
{
    std::wstring file = Env(L"VP_RECORD_FILE");
    if (file.empty())
        return;
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::app);
    out << U16ToUtf8(line) << "\n";
}

} // namespace

namespace vp {

// An engine whose deferred start-up is slow: it stays busy while answering messages.
class TSlowEngine : public TCLEngine {
public:
    explicit TSlowEngine(TComponent* owner) : TCLEngine(owner), FCreated(GetTickCount())
    {
        std::wstring busy = Env(L"VP_BUSY_MS");
        FBusyMs = busy.empty() ? 0 : static_cast<DWORD>(_wtoi(busy.c_str()));
    }

protected:
    void InitPost() override
    {
        if (GetTickCount() - FCreated < FBusyMs) {
            Sleep(10);
            PostMessageW(static_cast<TForm*>(Owner())->Handle(), WM_CL_INITPOST(), 0, 0);
            return;
        }
        TCLEngine::InitPost();
    }

private:
    DWORD FCreated;
    DWORD FBusyMs = 0;
};

class TfrmMain : public TForm {
    VP_CLASS(TfrmMain)
public:
    explicit TfrmMain(TComponent* owner) : TForm(owner)
    {
        CLEngine = new TSlowEngine(this);
        CLEngine->OnCmdFile = [](const String& text) { Record(u"cmdfile=" + text); };
        tmrReady = new TTimer(this);
        tmrReady->SetInterval(20);
        tmrReady->OnTimer = [this](TObject*) {
            if (!CLEngine->InInited()) {
                tmrReady->SetEnabled(false);
                Record(u"ready");
            }
        };
        OnCreate = [](TObject*) {
            Record(String(u"created debug=") + (DebugMode() ? u"1" : u"0"));
            String proxy = FromWide(Env(L"VP_HIDE_PROXY"));
            if (proxy.empty())
                return;
            SetIEProxy(u"");
            if (proxy != u"-")
                SetIEProxy(proxy);
            Record(u"switched");
        };
        SetCaption(u"Instance test");
    }
    ~TfrmMain() override { Record(u"destroyed"); }

    TCLEngine* CLEngine;
    TTimer* tmrReady;

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_SHOWWINDOW && message.WParam)
            Record(u"shown");
        TForm::WndProc(message);
    }
};

const TClassInfo& TfrmMain::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmMain, TForm>(u"TfrmMain").Build();
    return info;
}

} // namespace vp

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (!Env(L"VP_ANSWER_BOXES").empty())
        SetModalResponder([](const TModalRequest& request) {
            Record(u"box=" + request.Text);
            return mrOk;
        });
    Record(u"start");
    if (std::wstring names = Env(L"VP_CONNECTIONS"); !names.empty())
        SetConnectionNamesSource([names] {
            TStringList list;
            SplitText(FromWide(names), u';', list);
            return std::vector<String>(list.begin(), list.end());
        });
    TfrmMain* mainForm = nullptr;
    if (IsLocaleAllowed()) {
        TApplication application;
        CLRunApplication(application, mainForm);
    }
    Record(u"exit");
    return 0;
}
