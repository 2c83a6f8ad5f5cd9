; Veilport's setup program. installer/CMakeLists.txt runs makensis on it with:
;   APP_NAME   "App.Name" of data/const.dat     VERSION, VERSION4  "App.Ver", as written and
;   PUBLISHER  the name in the programs list                       as four numbers
;   LAYOUT     the laid-out install folder      GENERATED  the generated file lists and languages
;   OUTFILE    the setup program to write
;
; A per-user install: everything the program changes belongs to the user who runs it (the
; Internet settings, the log-on entry, the browsers' profiles, its settings folder), so the
; uninstaller can undo all of it, and no administrator is asked for.
;
; Silent use: Setup.exe /S [/D=<folder>] and Uninstall.exe /S [/REMOVESETTINGS].

; The program is 64-bit, and so is its setup program.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh

!define EXE "Veilport.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; How long a closed copy may take to end before the user is asked (tenths of a second).
!define CLOSE_WAIT_TENTHS 150

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP_NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP_NAME} ${VERSION}"

!define MUI_ICON "${LAYOUT}/res/icon.ico"
!define MUI_UNICON "${LAYOUT}/res/icon.ico"
!define MUI_ABORTWARNING
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!include "${GENERATED}/languages.nsh"
!ifdef VP_LANGUAGE_CHOICE
    !insertmacro MUI_RESERVEFILE_LANGDLL
!endif

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; What the installed program was built with, read from its constant settings files as the
; program reads them: the distributor's oem.const.dat first, then const.dat.
Var ConstName    ; "App.Name": the name of the log-on entry
Var ConfigWord   ; the settings folder's name under the application-data folders

; Reads the setting named on the stack; leaves its value (or "") on the stack.
Function un.ReadConst
    Exch $0
    Push $1
    ClearErrors
    ReadINIStr $1 "$INSTDIR\oem.const.dat" "setting" $0
    ${If} ${Errors}
        ReadINIStr $1 "$INSTDIR\const.dat" "setting" $0
    ${EndIf}
    StrCpy $0 $1
    Pop $1
    Exch $0
FunctionEnd

; Closes a copy that runs from the install folder with the program's own "/s" switch, so that
; it leaves the browsers with direct connections, and waits until it has ended: the file of a
; running program cannot be opened for writing. A copy that does not end in time: the user
; may retry; a silent run gives up.
!macro CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
    ${IfNot} ${FileExists} "$INSTDIR\${EXE}"
        Return
    ${EndIf}
    StrCpy $R0 0
    ${Do}
        ClearErrors
        FileOpen $R1 "$INSTDIR\${EXE}" a
        ${IfNot} ${Errors}
            FileClose $R1
            ${Break}
        ${EndIf}
        ${If} $R0 = 0
            ExecWait '"$INSTDIR\${EXE}" /s'
        ${EndIf}
        IntOp $R0 $R0 + 1
        ${If} $R0 > ${CLOSE_WAIT_TENTHS}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" /SD IDCANCEL IDRETRY retry
            SetErrorLevel 2
            Quit
        retry:
            StrCpy $R0 0
        ${EndIf}
        Sleep 100
    ${Loop}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

Function .onInit
    !ifdef VP_LANGUAGE_CHOICE
        !insertmacro MUI_LANGDLL_DISPLAY
    !endif
FunctionEnd

Section "-Program"
    SetShellVarContext current
    Call CloseRunningCopy
    !include "${GENERATED}/install-files.nsh"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "-un.Program"
    SetShellVarContext current
    Call un.CloseRunningCopy
    !include "${GENERATED}/uninstall-files.nsh"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"

    ; The options dialog's log-on entry holds the program's path. It goes when the program it
    ; names is gone; an entry of another copy that still exists stays.
    ${If} $ConstName != ""
        ReadRegStr $0 HKCU "${RUN_KEY}" $ConstName
        ${If} $0 != ""
        ${AndIfNot} ${FileExists} $0
            DeleteRegValue HKCU "${RUN_KEY}" $ConstName
        ${EndIf}
    ${EndIf}
SectionEnd

; Unticked unless asked for: on the page, or with /REMOVESETTINGS in a silent run.
Section /o "un.$(RemoveSettings)" SecRemoveSettings
    ; A folder name, never a path: a constant file that names "..\.." removes nothing.
    ${If} $ConfigWord == ""
    ${OrIf} $ConfigWord == "."
    ${OrIf} $ConfigWord == ".."
        Return
    ${EndIf}
    ClearErrors
    ${WordFind} $ConfigWord "\" "E#" $0
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    ClearErrors
    ${WordFind} $ConfigWord "/" "E#" $0
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    ClearErrors
    ${WordFind} $ConfigWord ":" "E#" $0
    ${IfNot} ${Errors}
        Return
    ${EndIf}
    SetShellVarContext current
    RMDir /r "$APPDATA\$ConfigWord"
    SetShellVarContext all
    RMDir /r "$APPDATA\$ConfigWord"
    SetShellVarContext current
SectionEnd

; The programs-list entry goes last: until the uninstaller has done its work, it stays.
Section "-un.Entry"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
    !ifdef VP_LANGUAGE_CHOICE
        !insertmacro MUI_UNGETLANGUAGE
    !endif
    ; Read while the installed files are still there.
    Push "App.Name"
    Call un.ReadConst
    Pop $ConstName
    Push "App.ConfigPath"
    Call un.ReadConst
    Pop $ConfigWord
    ${If} $ConfigWord == ""
        ; The program's own rule: its full path with "\", ":" and "/" made "_".
        ${WordReplace} "$INSTDIR\${EXE}" "\" "_" "+" $ConfigWord
        ${WordReplace} $ConfigWord ":" "_" "+" $ConfigWord
        ${WordReplace} $ConfigWord "/" "_" "+" $ConfigWord
    ${EndIf}

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/REMOVESETTINGS" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecRemoveSettings} ${SF_SELECTED}
    ${EndIf}
FunctionEnd
