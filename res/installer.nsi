; The Windows installer: for the current user alone, no administrator rights.
; The game keeps "scores.dat" in its working folder, so the Start-menu
; shortcut starts it in a folder of the user's own that can be written
; (%APPDATA%\Quillory); a program folder may be read-only. Installing again
; replaces the earlier installation where it is. Neither the installer nor the
; uninstaller touches the game's files while it runs. Uninstalling removes the
; program, the shortcut and the uninstall entry, and leaves the scores where
; they are.
; makensis -DVERSION=1.0.0 -DSOURCE=dist -DOUTFILE=dist/quillory-1.0.0-setup.exe installer.nsi
; A silent install (/S) started with /RUN starts the game at the end, as the
; finish page's "Run Quillory" does.
Unicode true
!ifndef VERSION
  !error "VERSION is required"
!endif
!ifndef SOURCE
  !error "SOURCE (the folder of quillory.exe and README.txt) is required"
!endif
!ifndef OUTFILE
  !error "OUTFILE is required"
!endif
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillory"
; Held by the game while it runs (src/game/main.cpp).
!define RUNNING_MUTEX "Quillory.Running"
!define SYNCHRONIZE 0x00100000

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

Name "Quillory ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillory"
; An earlier installation, in whatever folder it was put, is the default.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quillory"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quillory Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Brindlework"
VIAddVersionKey "LegalCopyright" "Copyright (C) Brindlework"

!define MUI_ICON "quillory.ico"
!define MUI_UNICON "quillory.ico"
; The welcome and finish pages' side picture, drawn by tools/make_art.py.
!define MUI_WELCOMEFINISHPAGE_BITMAP "wizard.bmp"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run Quillory"
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var PreviousDir

; While the game runs its files cannot be replaced or removed: the player is
; asked to close it, and Cancel ends the installer or uninstaller before it
; has changed anything. Nobody answers in a silent run: it cancels.
!macro DEFINE_WAIT_FOR_GAME un
Function ${un}WaitForGameToClose
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p.r0'
    ${If} $0 = 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    ${If} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Quillory is running. Close the game, then choose Retry." /SD IDCANCEL IDCANCEL`
      Abort "Quillory is running: nothing was changed."
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_GAME ""
!insertmacro DEFINE_WAIT_FOR_GAME "un."

; The program's own files in a folder, the folder too once it is empty.
!macro REMOVE_PROGRAM_FILES dir
  Delete "${dir}\quillory.exe"
  Delete "${dir}\README.txt"
  Delete "${dir}\uninstall.exe"
  RMDir "${dir}"
!macroend

; As the Start-menu shortcut starts it: in the per-user scores folder.
Function StartGame
  SetOutPath "$APPDATA\Quillory"
  Exec '"$INSTDIR\quillory.exe"'
FunctionEnd

Function .onInit
  SetShellVarContext current
  ReadRegStr $PreviousDir HKCU "${UNINSTALL_KEY}" "InstallLocation"
FunctionEnd

Function .onInstSuccess
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/RUN" $1
  ${If} ${Silent}
  ${AndIfNot} ${Errors}
    Call StartGame
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section
  Call WaitForGameToClose
  ; Put elsewhere this time: the earlier copy goes, so that the uninstall
  ; entry, which names one folder, covers all there is.
  ${If} $PreviousDir != ""
  ${AndIf} $PreviousDir != $INSTDIR
    !insertmacro REMOVE_PROGRAM_FILES "$PreviousDir"
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${SOURCE}\quillory.exe"
  File "${SOURCE}\README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut's "Start in" is the folder current at CreateShortCut.
  CreateDirectory "$APPDATA\Quillory"
  SetOutPath "$APPDATA\Quillory"
  CreateShortCut "$SMPROGRAMS\Quillory.lnk" "$INSTDIR\quillory.exe" "" "$INSTDIR\quillory.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Quillory"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Brindlework"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillory.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size the list of programs shows, in kilobytes.
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.WaitForGameToClose
  ; The entry goes only with the program: a game that still holds its file
  ; (one older than the running mark, say) keeps both.
  Delete "$INSTDIR\quillory.exe"
  ${If} ${FileExists} "$INSTDIR\quillory.exe"
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\quillory.exe cannot be removed. Close Quillory and uninstall again." /SD IDOK
    Abort "quillory.exe cannot be removed: nothing else was changed."
  ${EndIf}
  Delete "$SMPROGRAMS\Quillory.lnk"
  !insertmacro REMOVE_PROGRAM_FILES "$INSTDIR"
  ; Only an empty scores folder goes: the player's "scores.dat" and "replays.dat" stay.
  RMDir "$APPDATA\Quillory"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
