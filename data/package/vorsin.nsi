; The Windows installer: the program, vorsin-cli.exe and the shipped
; vocabulary under Program Files\Vorsin, a Start-menu entry, the .dat
; association and an uninstaller. What the user made (the vocabulary copy in
; %APPDATA%\Vorsin, projects under Documents\Vorsin) is never touched.
; Built by the `installer` target of the windows preset:
;   makensis -INPUTCHARSET UTF8 -DVERSION=.. -DBIN=.. -DICON=.. -DOUT=.. vorsin.nsi
Unicode true
; A 64-bit installer for a 64-bit program (and wine64 alone runs it).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Ворсин"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorsin"
!define CLASS "Vorsin.Project"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Vorsin"
InstallDirRegKey HKLM "${KEY}" "InstallLocation"
RequestExecutionLevel admin
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${BIN}\vorsin.exe"
  File "${BIN}\vorsin-cli.exe"
  File "${BIN}\RorEdad.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\vorsin.exe"

  ; Explorer opens a project file with the program.
  WriteRegStr HKLM "Software\Classes\.dat" "" "${CLASS}"
  WriteRegStr HKLM "Software\Classes\${CLASS}" "" "Проект Ворсин"
  WriteRegStr HKLM "Software\Classes\${CLASS}\DefaultIcon" "" "$INSTDIR\vorsin.exe,0"
  WriteRegStr HKLM "Software\Classes\${CLASS}\shell\open\command" "" '"$INSTDIR\vorsin.exe" "%1"'

  WriteRegStr HKLM "${KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\vorsin.exe,0"
  WriteRegStr HKLM "${KEY}" "Publisher" "Vorsin developers"
  WriteRegStr HKLM "${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\vorsin.exe"
  Delete "$INSTDIR\vorsin-cli.exe"
  Delete "$INSTDIR\RorEdad.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; .dat is left to whatever program took it over since.
  ReadRegStr $0 HKLM "Software\Classes\.dat" ""
  StrCmp $0 "${CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.dat"
  DeleteRegKey HKLM "Software\Classes\${CLASS}"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
