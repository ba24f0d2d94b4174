; The monitor's per-user installer: no administrator rights, everything under the user's own
; programs folder and registry hive. Built by the windows preset (makensis), with
;   MONITOR_EXE  the built OVPMonitor.exe
;   FILES_NSH    the build's list of the pictures and language files to install
;   CONFIG       the default Configuration.ini
;   OUTFILE      the installer to write
;   VERSION      the product version
;
; The uninstaller removes only what the installer put there. The application folder is also where
; the engine keeps each user's folder (schedules, logs, profiles): that data stays.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "${FILES_NSH}"

!define PRODUCT "OVPMonitor"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The monitor's hidden main window, and the message that asks it to exit as from its tray menu.
!define MONITOR_WINDOW_CLASS "frmOVWinService"
!define EXIT_REQUEST_MESSAGE "OVPMonitorExitRequest"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUnInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Asks a running monitor to exit through its own exit path (the tray icon goes, timers stop) and
; waits until its window is gone. A monitor that does not answer within 15 seconds is left alone:
; its files are then in use and the caller says so.
!macro EndRunningMonitor un
Function ${un}EndRunningMonitor
    FindWindow $0 "${MONITOR_WINDOW_CLASS}"
    ${If} $0 == 0
        Return
    ${EndIf}
    System::Call 'user32::RegisterWindowMessageW(w "${EXIT_REQUEST_MESSAGE}") i .r1'
    ${If} $1 != 0
        SendMessage $0 $1 0 0 /TIMEOUT=5000
    ${EndIf}
    StrCpy $2 0
    ${DoWhile} $2 < 75
        Sleep 200
        IntOp $2 $2 + 1
        FindWindow $0 "${MONITOR_WINDOW_CLASS}"
        ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    ${Loop}
    ; The process ends just after its window; give it the moment to let go of its files.
    Sleep 500
FunctionEnd
!macroend
!insertmacro EndRunningMonitor ""
!insertmacro EndRunningMonitor "un."

Section "Install"
    ; An update replaces the program of a monitor that is running.
    Call EndRunningMonitor

    SetOutPath "$INSTDIR"
    File "/oname=OVPMonitor.exe" "${MONITOR_EXE}"
    ; The configuration is the installation's own once it is there: an update keeps it.
    SetOverwrite off
    File "/oname=Configuration.ini" "${CONFIG}"
    SetOverwrite on
    !insertmacro InstallAssets
    SetOutPath "$INSTDIR"

    WriteUninstaller "$INSTDIR\Uninstall.exe"
    WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\OVPMonitor.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1

    Exec '"$INSTDIR\OVPMonitor.exe"'
SectionEnd

Section "Uninstall"
    Call un.EndRunningMonitor

    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    Delete "$INSTDIR\OVPMonitor.exe"
    Delete "$INSTDIR\Configuration.ini"
    !insertmacro RemoveAssets
    Delete "$INSTDIR\Uninstall.exe"
    ; Only empty folders go: whatever the engine or the user keeps there stays.
    RMDir "$INSTDIR\Images"
    RMDir "$INSTDIR\Lang"
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\OVPMonitor.exe"
        DetailPrint "OVPMonitor.exe is still in use and was not removed."
        SetErrorLevel 2
    ${EndIf}
SectionEnd
