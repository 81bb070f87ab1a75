; The Windows installer: the files of the zip's Swarmfire folder, a Start
; menu shortcut and an uninstaller registered in Add/Remove Programs.
; dist/windows/package.sh builds it from the staged folder:
;
;   makensis -DVERSION=1.0 -DFILES=files.nsh -DICON=swarmfire.ico -DOUTFILE=setup.exe swarmfire.nsi
;
; FILES defines the macros install_files and remove_files, one File or
; Delete line for each file of the folder, so that the installer and the
; uninstaller handle exactly what the zip holds.
;
; For the current user (in %LOCALAPPDATA%\Programs\Swarmfire) by default,
; or for all users (in Program Files\Swarmfire) on the first page; the
; uninstaller's key goes under HKCU or HKLM to match. /CURRENTUSER and
; /ALLUSERS choose on the command line, /S installs or uninstalls without
; a question, /D=FOLDER (last) installs elsewhere.

Unicode true
; The 64-bit stub: the game is a 64-bit program, and Program Files is
; then the 64-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Swarmfire"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Swarmfire"
; A new install goes where the last one is, in its mode.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include "${FILES}"

Name "Swarmfire"
OutFile "${OUTFILE}"
BrandingText "Swarmfire ${VERSION}"
ManifestDPIAware true

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Swarmfire"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Swarmfire ${VERSION} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "The Swarmfire developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 The Swarmfire developers. GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var GivenFolder

Function .onInit
  ; MultiUser sets the folder of the mode; a /D= given keeps its own.
  StrCpy $GivenFolder $INSTDIR
  !insertmacro MULTIUSER_INIT
  StrCmp $GivenFolder "" +2
  StrCpy $INSTDIR $GivenFolder
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Swarmfire"
  SetOutPath "$INSTDIR"
  !insertmacro install_files
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; Started from the install folder, where its datafiles are.
  CreateShortcut "$SMPROGRAMS\Swarmfire.lnk" "$INSTDIR\swarmfire.exe" "" "$INSTDIR\swarmfire.exe" 0 \
    SW_SHOWNORMAL "" "An arcade shooter against a swaying swarm"

  ; SHCTX is HKLM for all users and HKCU for the current user.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Swarmfire"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Swarmfire developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$\"$INSTDIR\swarmfire.exe$\",0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    "$\"$INSTDIR\Uninstall.exe$\" /$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    "$\"$INSTDIR\Uninstall.exe$\" /$MultiUser.InstallMode /S"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; What the installer put there, and the folder if nothing else is left in
; it (a screenshot saved there stays, and so does the folder).
Section "Uninstall"
  !insertmacro remove_files
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Swarmfire.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
