; The Windows installer: for the current user alone, no administrator rights.
; The game keeps "scores.dat" in its working folder, so the Start-menu
; shortcut starts it in a folder of the user's own that can be written
; (%APPDATA%\Quillory); a program folder may be read-only. Uninstalling
; removes the program, the shortcut and the uninstall entry, and leaves the
; scores where they are.
; makensis -DVERSION=1.0.0 -DSOURCE=dist -DOUTFILE=dist/quillory-1.0.0-setup.exe installer.nsi
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

Name "Quillory ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Quillory"
SetCompressor /SOLID lzma
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Quillory"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Quillory Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Brindlework"
VIAddVersionKey "LegalCopyright" "Copyright (C) Brindlework"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section
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
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Quillory.lnk"
  Delete "$INSTDIR\quillory.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; $APPDATA\Quillory keeps the player's scores.
SectionEnd
