; The Windows setup program. It installs for the current user, without
; administrator rights, into %LOCALAPPDATA%\Programs\Veilbox: the programs
; keep Dat.sys and the default store folder Data beside the executable, so
; that folder must stay writable for its user. It adds a Start-menu entry and
; registers the uninstaller under HKCU. Its pages show the licence (the GNU
; GPL, version 3 or later) and pictures made from the program's icon.
; The uninstaller deletes by name what the setup put there and removes the
; folder only when it is empty, so Dat.sys, the store folders (hidden folders
; inside) and anything else the user keeps there survive it. When Dat.sys
; lists hidden folders it first says how many and lets the user cancel.
; Both run silently with /S, the uninstaller then without asking.
; Made by the build's target veilbox-setup (cmake/WindowsSetup.cmake):
;   makensis -DVEILBOX_FILES=<generated .nsh> -DVEILBOX_SETUP=<output .exe>
; The generated file names the version, the programs, the icon, the licence
; and the picture.
Unicode true
; The programs are 64-bit, and a 64-bit Wine runs no 32-bit setup.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "${VEILBOX_FILES}"
!include LogicLib.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Veilbox"
!define START_MENU_ENTRY "$SMPROGRAMS\Veilbox.lnk"
; The company the program names, wherever a publisher is named.
!define PUBLISHER "Tollmark Inc"

Name "Veilbox ${VEILBOX_VERSION}"
BrandingText "Veilbox ${VEILBOX_VERSION}"
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
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 ${PUBLISHER}; GNU GPL version 3 or later"

!define MUI_ABORTWARNING
!define MUI_ICON "${VEILBOX_ICON}"
!define MUI_UNICON "${VEILBOX_ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${VEILBOX_PICTURE}"
; The GPL asks nobody to accept it in order to use the program.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Veilbox is free software under this licence. Click Next to continue."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${VEILBOX_LICENSE}"
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
  File "/oname=LICENSE.txt" "${VEILBOX_LICENSE}"
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
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${VEILBOX_START_PROGRAM}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; $0: how many records of $INSTDIR\Dat.sys have the status Hidden. A record
; ends in "*", its fields are parted by "<" and the status is the third; the
; file is read a byte at a time, so no record is too long to be seen whole.
Function un.CountHiddenFolders
  StrCpy $0 0
  ClearErrors
  FileOpen $1 "$INSTDIR\Dat.sys" r
  IfErrors done
  StrCpy $2 0 ; the field being read
  StrCpy $3 "" ; the status so far (enough of it to tell)
  ${Do}
    FileReadByte $1 $4
    ${IfThen} ${Errors} ${|} ${ExitDo} ${|}
    ${If} $4 = 60 ; "<"
      IntOp $2 $2 + 1
    ${ElseIf} $4 = 42 ; "*"
      ${IfThen} $3 S== "Hidden" ${|} IntOp $0 $0 + 1 ${|}
      StrCpy $2 0
      StrCpy $3 ""
    ${ElseIf} $2 = 2
      IntFmt $4 "%c" $4
      StrCpy $3 "$3$4" 7
    ${EndIf}
  ${Loop}
  FileClose $1
  done:
FunctionEnd

; Before anything goes: folders still hidden stay where they are, and only
; Veilbox brings them back.
Function un.onInit
  Call un.CountHiddenFolders
  ${If} $0 == 1
    StrCpy $1 "1 folder is"
  ${Else}
    StrCpy $1 "$0 folders are"
  ${EndIf}
  ${If} $0 > 0
    MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION|MB_DEFBUTTON2 \
      "$1 still hidden by Veilbox. Uninstalling leaves hidden folders where they are, in the \
      hidden/locked folders; they come back when Veilbox is installed again and they are \
      made Visible.$\n$\nUninstall Veilbox anyway?" /SD IDOK IDOK +2
    Abort
  ${EndIf}
FunctionEnd

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
  Delete "$INSTDIR\LICENSE.txt"
  Delete "${START_MENU_ENTRY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: the folder goes only when nothing of the user's is left in it.
  RMDir "$INSTDIR"
SectionEnd
