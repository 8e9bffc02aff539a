; The Windows setup program. It installs for the current user, without
; administrator rights, into %LOCALAPPDATA%\Programs\Veilbox: the programs
; keep Dat.sys and the default store folder Data beside the executable, so
; that folder must stay writable for its user. It adds a Start-menu entry and
; registers the uninstaller under HKCU.
; The uninstaller deletes by name what the setup put there and removes the
; folder only when it is empty, so Dat.sys, the store folders (hidden folders
; inside) and anything else the user keeps there survive it.
; Both run silently with /S.
; Made by the build's target veilbox-setup (cmake/WindowsSetup.cmake):
;   makensis -DVEILBOX_FILES=<generated .nsh> -DVEILBOX_SETUP=<output .exe>
Unicode true
; The programs are 64-bit, and a 64-bit Wine runs no 32-bit setup.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "${VEILBOX_FILES}"
!include LogicLib.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veilbox"
!define START_MENU_ENTRY "$SMPROGRAMS\Veilbox.lnk"

Name "Veilbox ${VEILBOX_VERSION}"
OutFile "${VEILBOX_SETUP}"
RequestExecutionLevel user
ManifestDPIAware true
InstallDir "$LOCALAPPDATA\Programs\Veilbox"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VEILBOX_VERSION}.0.0"
VIFileVersion "${VEILBOX_VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Veilbox"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VEILBOX_VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VEILBOX_VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Veilbox setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Veilbox developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 The Veilbox developers"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!if "${VEILBOX_START_PROGRAM}" == "veilbox.exe"
  !define MUI_FINISHPAGE_RUN "$INSTDIR\veilbox.exe"
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Veilbox"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  !insertmacro VeilboxInstallPrograms
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Without the desktop program the entry opens a console in the program
  ; folder with the command-line program's help.
  !if "${VEILBOX_START_PROGRAM}" == "veilbox.exe"
    CreateShortcut "${START_MENU_ENTRY}" "$INSTDIR\veilbox.exe"
  !else
    CreateShortcut "${START_MENU_ENTRY}" "$SYSDIR\cmd.exe" \
      '/k "$INSTDIR\${VEILBOX_START_PROGRAM}" --help' "$INSTDIR\${VEILBOX_START_PROGRAM}"
  !endif

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Veilbox"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VEILBOX_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Veilbox developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${VEILBOX_START_PROGRAM}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  ; A program that cannot be deleted (it is running) stops the uninstall
  ; before the entry and the registration go, so it can be run again.
  ClearErrors
  !insertmacro VeilboxRemovePrograms
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Veilbox is still running. Close it, then uninstall again." /SD IDOK
    Abort
  ${EndIf}
  Delete "${START_MENU_ENTRY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: the folder goes only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd
