// Start-up and the instance protocol: the switches, debug mode, autorun, one copy per
// machine, the main window and the message loop; and the sending side of the messages by
// which copies of the program find, ask, bring forward, close and hand text to each other.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "framework/ui/Application.h"
#include "framework/ui/Forms.h"

#include <functional>

namespace vp {

// False (after telling the user) on a system whose default language is Simplified Chinese.
bool IsLocaleAllowed();
// The decision itself, for the language id and display name of the system.
bool IsRefusedLocale(LANGID languageId, StringView languageName);

using TMainFormFactory = std::function<TForm*(TApplication&)>;

// Everything from the switches to the end of the message loop, on the application object
// the entry point made; the process's exit code. The main window's class name is the name
// other copies look for. "/restore" gives back the user's saved proxy settings and ends
// (the log-on entry of the system switch, browsers/IEProxyWin.h); with
// "SWITCH.RestoreUserSettings" on, a normal start gives them back when a copy that was
// hiding ended without doing so, and so do the end of the loop and the end of the session.
int CLRunApplicationWith(
    TApplication& application, const String& mainClassName, const TMainFormFactory& createMainForm);

template <class TMainForm>
int CLRunApplication(TApplication& application, TMainForm*& mainForm)
{
    return CLRunApplicationWith(
        application, TMainForm::StaticClassInfo().ClassName(), [&mainForm](TApplication& app) {
            mainForm = app.CreateForm<TMainForm>();
            return mainForm;
        });
}

// Shows the splash window while the main window is built, when "App.Splash" is on.
void CLSetSplashHook(std::function<void()> showSplash);

HWND CLFindAppWindow(const String& className);
void CLCloseRunningApp(const String& className);
void CLBringRunningAppToFront(const String& className);
void CLSendCmdParam(const String& className, const String& text);

// A switch: "-" or "/" followed by the letter, compared without regard to case.
bool HasSwitch(const TStringList& arguments, char16_t letter);
// The same with a word ("/restore").
bool HasSwitch(const TStringList& arguments, StringView name);

} // namespace vp
