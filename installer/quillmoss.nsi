; Quillmoss setup and uninstaller (NSIS 3, built on Linux with makensis).
;   makensis -DQM_EXE=<Quillmoss.exe> -DQM_ICON=<quillmoss.ico> -DQM_OUTFILE=<setup.exe>
;            -DQM_VERSION=2.80 quillmoss.nsi
;
; One copy per machine, in Program Files. The program keeps its settings in the registry
; (HKLM\Software\Microsoft\Qmoss, or the same path under HKCU for a user who may not write
; HKLM); setup never touches them, so a newer setup over an installed copy keeps every
; setting and remembered item.
;
; Quillmoss.exe is a 64-bit program, so the setup is one too: it sees the same Program Files
; and the same registry view as the program, with no redirection between them.

; "setup" in the file name is what users look for, whatever the shims make of it.
!pragma warning disable 9000
Unicode true
Target amd64-unicode
ManifestSupportedOS all
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The installed files take the time of installation: the setup holds no build-machine dates
; and comes out the same from the same sources.
SetDateSave off

!ifndef QM_VERSION
  !define QM_VERSION "2.80"
!endif
!define QM_NAME "Quillmoss"
!define QM_CAPTION "Quillmoss v${QM_VERSION}"
!define QM_PUBLISHER "Quillmoss"
!define QM_SITE "https://www.quillmoss.com"
!define QM_UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmoss"
!define QM_SETTINGS_KEY "Software\Microsoft\Qmoss"
!define QM_RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define QM_EXTENSIONS_KEY "Software\Microsoft\Internet Explorer\Extensions"
!define QM_TOOLBAR_KEY "${QM_EXTENSIONS_KEY}\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}"
!define QM_UNINSTALLER "Uninstall.exe"
!define QM_EVENT_SOURCE_KEY "SYSTEM\CurrentControlSet\Services\EventLog\Application\Quillmoss"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"
!include "x64.nsh"

Name "${QM_NAME} ${QM_VERSION}"
OutFile "${QM_OUTFILE}"
InstallDir "$PROGRAMFILES64\${QM_NAME}"
BrandingText "${QM_NAME} ${QM_VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "2.80.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${QM_NAME}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${QM_NAME} ${QM_VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${QM_VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${QM_PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${QM_PUBLISHER}"

!define MUI_ICON "${QM_ICON}"
!define MUI_UNICON "${QM_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quillmoss.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Quillmoss"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running copy holds its file: it is asked to go before its files are replaced or removed.
; The program ends on a plain WM_CLOSE from outside (no question, no clean run), so that is
; what is sent, once the user agrees; a silent run sends it at once. A copy that will not go
; leaves its files to the next restart (uninstall) or to the file error prompt (setup).
!macro QM_CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
  FindWindow $0 "" "${QM_CAPTION}"
  ${If} $0 = 0
    Return
  ${EndIf}
  ${IfNot} ${Silent}
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "Quillmoss is running.$\r$\n$\r$\nChoose OK to close it and go on, or Cancel to stop." /SD IDOK IDOK close
    Quit
  ${EndIf}
  close:
  DetailPrint "Closing Quillmoss..."
  ; Up to ten seconds for every window of that caption to go.
  StrCpy $1 0
  ${Do}
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    Sleep 250
    FindWindow $0 "" "${QM_CAPTION}"
    IntOp $1 $1 + 1
    ${If} $1 >= 40
      ${Break}
    ${EndIf}
  ${LoopUntil} $0 = 0
  ; The window goes a moment before the process lets go of its file.
  StrCpy $1 0
  ${Do}
    ClearErrors
    FileOpen $2 "$INSTDIR\Quillmoss.exe" a
    ${IfNot} ${Errors}
      FileClose $2
      ${Break}
    ${EndIf}
    ${IfNot} ${FileExists} "$INSTDIR\Quillmoss.exe"
      ${Break}
    ${EndIf}
    Sleep 250
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 20
FunctionEnd
!macroend
!insertmacro QM_CLOSE_RUNNING_COPY ""
!insertmacro QM_CLOSE_RUNNING_COPY "un."

; Windows XP starts a setup without administrator rights as it is, and Vista and later do with
; the prompt turned off: such a run could only half install, so it stops before touching anything.
!macro QM_REQUIRE_ADMIN what
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP|MB_OK "${what} Quillmoss for every user of this computer needs administrator rights. Please run it again as an administrator." /SD IDOK
    SetErrorLevel 5
    Quit
  ${EndIf}
!macroend

; The event log service reads the registry view of 64-bit programs on 64-bit Windows, whatever
; the program: Quillmoss's event source is written there. (Windows keeps HKLM\SYSTEM as one key
; for both views today, so this only says where the source belongs.) A 64-bit setup runs on
; nothing but 64-bit Windows.
!macro QM_EVENT_LOG_VIEW
  !if ${NSIS_PTR_SIZE} > 4
    SetRegView 64
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend

Function .onInit
  !insertmacro QM_REQUIRE_ADMIN "Installing"
  ; Over an installed copy, the same folder unless the user names another (/D= or the page).
  ${If} $INSTDIR == "$PROGRAMFILES64\${QM_NAME}"
    ReadRegStr $0 HKLM "${QM_UNINST_KEY}" "InstallLocation"
    ${If} $0 != ""
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro QM_REQUIRE_ADMIN "Removing"
FunctionEnd

Section "Quillmoss" SecMain
  SectionIn RO
  Call CloseRunningCopy
  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=Quillmoss.exe" "${QM_EXE}"
  ; The Internet Explorer toolbar button takes its picture from this file beside the program.
  File "/oname=iconwipe.ico" "${QM_ICON}"
  WriteUninstaller "$INSTDIR\${QM_UNINSTALLER}"

  SetShellVarContext all
  CreateShortCut "$SMPROGRAMS\${QM_NAME}.lnk" "$INSTDIR\Quillmoss.exe" "" "$INSTDIR\Quillmoss.exe" 0

  WriteRegStr HKLM "${QM_UNINST_KEY}" "DisplayName" "${QM_NAME} ${QM_VERSION}"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "DisplayVersion" "${QM_VERSION}"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "Publisher" "${QM_PUBLISHER}"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "URLInfoAbout" "${QM_SITE}"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "DisplayIcon" "$INSTDIR\Quillmoss.exe,0"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${QM_UNINST_KEY}" "UninstallString" '"$INSTDIR\${QM_UNINSTALLER}"'
  WriteRegStr HKLM "${QM_UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${QM_UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${QM_UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${QM_UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${QM_UNINST_KEY}" "EstimatedSize" $0

  ; Windows' event log finds the program's message table through this source.
  !insertmacro QM_EVENT_LOG_VIEW
  WriteRegExpandStr HKLM "${QM_EVENT_SOURCE_KEY}" "EventMessageFile" "$INSTDIR\Quillmoss.exe"
  WriteRegDWORD HKLM "${QM_EVENT_SOURCE_KEY}" "TypesSupported" 7
  SetRegView lastused
SectionEnd

; A value the program wrote is removed only when it names this installed copy: a copy
; elsewhere on the machine (the portable one, say) keeps its own start at log-on.
!macro QM_DELETE_RUN_VALUE root
  ReadRegStr $0 ${root} "${QM_RUN_KEY}" "QMS"
  ${If} $0 == '"$INSTDIR\Quillmoss.exe"'
  ${OrIf} $0 == "$INSTDIR\Quillmoss.exe"
    DeleteRegValue ${root} "${QM_RUN_KEY}" "QMS"
  ${EndIf}
!macroend

; The program creates Internet Explorer's Extensions key when it adds its button to a
; machine that had none; left empty, it goes too.
!macro QM_DELETE_TOOLBAR_BUTTON root
  ReadRegStr $0 ${root} "${QM_TOOLBAR_KEY}" "Exec"
  ${If} $0 == "$INSTDIR\Quillmoss"
    DeleteRegKey ${root} "${QM_TOOLBAR_KEY}"
    DeleteRegKey /ifempty ${root} "${QM_EXTENSIONS_KEY}"
  ${EndIf}
!macroend

Section "Uninstall"
  Call un.CloseRunningCopy

  ; The settings and remembered items stay unless the user lets them go; a silent uninstall
  ; keeps them, ready for a later installation.
  StrCpy $3 "keep"
  ${IfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION "Keep Quillmoss's settings and remembered items for a later installation?" /SD IDYES IDYES settings_chosen
    StrCpy $3 "remove"
  ${EndIf}
  settings_chosen:

  ; What the program itself put outside its folder: its start at log-on and its Internet
  ; Explorer toolbar button, under HKLM or, for a user who could not write there, HKCU.
  ; The Internet Explorer home page is left as it is: it was set on the user's own request,
  ; to an address of the user's choosing, and nothing tells Quillmoss's change from one made
  ; in Internet Explorer itself since.
  !insertmacro QM_DELETE_RUN_VALUE HKLM
  !insertmacro QM_DELETE_RUN_VALUE HKCU
  !insertmacro QM_DELETE_TOOLBAR_BUTTON HKLM
  !insertmacro QM_DELETE_TOOLBAR_BUTTON HKCU
  ${If} $3 == "remove"
    DeleteRegKey HKLM "${QM_SETTINGS_KEY}"
    DeleteRegKey HKCU "${QM_SETTINGS_KEY}"
  ${EndIf}

  SetShellVarContext all
  Delete "$SMPROGRAMS\${QM_NAME}.lnk"

  ; Exactly the files setup and the program's own update put here; anything else the user
  ; keeps in the folder stays, and so does the folder then.
  Delete /REBOOTOK "$INSTDIR\Quillmoss.exe"
  Delete /REBOOTOK "$INSTDIR\qms.exe"
  Delete /REBOOTOK "$INSTDIR\iconwipe.ico"
  Delete /REBOOTOK "$INSTDIR\${QM_UNINSTALLER}"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${QM_UNINST_KEY}"
  !insertmacro QM_EVENT_LOG_VIEW
  DeleteRegKey HKLM "${QM_EVENT_SOURCE_KEY}"
  SetRegView lastused
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "Some files of Quillmoss were in use. They will be removed when Windows restarts." /SD IDOK
  ${EndIf}
SectionEnd
