; SPDX-FileCopyrightText: 2026 The Velmo developers
; SPDX-License-Identifier: GPL-3.0-or-later

; The setup program of Velmo for Windows, made by Debian's NSIS (makensis).
; The build passes VERSION, VERSION4 (four numbers), OUTFILE, LICENSE and
; FILES, the folder that holds install_files.nsh and uninstall_files.nsh:
; exactly the files laid out for Windows, so the uninstaller removes what
; the setup program put there and nothing else.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "x64.nsh"

Name "Velmo"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmo"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1033 "ProductName" "Velmo"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Velmo ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "The Velmo developers, GPL-3.0-or-later"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmo"

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "Velmo is a 64-bit program and needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "Velmo"
  !include "${FILES}/install_files.nsh"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Each program opens its own port; the menu says which.
  CreateDirectory "$SMPROGRAMS\Velmo"
  CreateShortcut "$SMPROGRAMS\Velmo\Velmo on COM1.lnk" "$INSTDIR\Velmo_1.exe"
  CreateShortcut "$SMPROGRAMS\Velmo\Velmo on COM2.lnk" "$INSTDIR\Velmo_2.exe"
  CreateShortcut "$SMPROGRAMS\Velmo\Velmo on COM3.lnk" "$INSTDIR\Velmo.exe"
  CreateShortcut "$SMPROGRAMS\Velmo\Velmo demo (simulated receiver).lnk" "$INSTDIR\velmo-demo.exe"

  ; Listed in Windows' installed apps, with its uninstaller.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmo ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Velmo developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmo_1.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !include "${FILES}/uninstall_files.nsh"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Velmo\Velmo on COM1.lnk"
  Delete "$SMPROGRAMS\Velmo\Velmo on COM2.lnk"
  Delete "$SMPROGRAMS\Velmo\Velmo on COM3.lnk"
  Delete "$SMPROGRAMS\Velmo\Velmo demo (simulated receiver).lnk"
  RMDir "$SMPROGRAMS\Velmo"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
