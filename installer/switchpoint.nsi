; Per-user installer: no administrator rights, everything under the user's
; own folders and HKCU. makensis gets VERSION, EXE, GUIDE, LICENSE_FILE and
; OUTFILE with /D.
; The program is 64-bit only, and so is the installer (Wine here runs no
; 32-bit code).
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define APP "switchpoint"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"

!include "MUI2.nsh"
!include "WinMessages.nsh"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running copy holds switchpoint.exe open: it is asked to close, as its
; own window menu would close it, and given 5 s. One that stays is the
; user's only mouse: it is not killed, and nothing is changed.
!macro CLOSE_RUNNING_COPY
  StrCpy $R1 0
  close_loop:
    FindWindow $R0 "QUIMBOLET"
    StrCmp $R0 0 close_done
    IntCmp $R1 0 0 close_wait close_wait
      SendMessage $R0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    close_wait:
    Sleep 100
    IntOp $R1 $R1 + 1
    IntCmp $R1 50 0 close_loop
  MessageBox MB_OK|MB_ICONSTOP "switchpoint is running and does not close. Close it, then try again." /SD IDOK
  SetErrorLevel 2
  Quit
  close_done:
  ; The window goes just before the process ends and lets go of the exe.
  IntCmp $R1 0 +2
    Sleep 1000
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_COPY
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro CLOSE_RUNNING_COPY
FunctionEnd

Section "switchpoint" SecMain
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=switchpoint.exe" "${EXE}"
  File "/oname=guide.html" "${GUIDE}"
  File "/oname=LICENSE.txt" "${LICENSE_FILE}"
  ; config.ini is never shipped: the program writes it on its first start,
  ; so a reinstall leaves the user's settings alone.
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; config.ini is read from the working directory: every shortcut starts
  ; the program in its own folder.
  CreateDirectory "$SMPROGRAMS"
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\switchpoint.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "the switchpoint developers"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\switchpoint.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
SectionEnd

; A Startup shortcut rather than the Run key: from the Run key the program
; would start in the system folder, where config.ini cannot be written.
Section "Start switchpoint when I sign in" SecStartup
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMSTARTUP"
  CreateShortcut "$SMSTARTUP\${APP}.lnk" "$INSTDIR\switchpoint.exe"
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\switchpoint.exe"
  Delete "$INSTDIR\guide.html"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\switchpoint.log"
  Delete "$INSTDIR\config.ini.bad"
  Delete "$INSTDIR\config.ini.bad.*"
  Delete "$INSTDIR\config.ini.tmp"
  Delete "$INSTDIR\switchpoint.log.tmp"
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$SMSTARTUP\${APP}.lnk"
  DeleteRegKey HKCU "${UNINST_KEY}"
  IfFileExists "$INSTDIR\config.ini" 0 settings_done
    MessageBox MB_YESNO|MB_ICONQUESTION "Remove your switchpoint settings (config.ini) too?" /SD IDNO IDNO settings_done
    Delete "$INSTDIR\config.ini"
  settings_done:
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
