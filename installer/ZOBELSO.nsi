; The ZOBELSO installer: the service object for 64- and 32-bit point-of-sale
; applications, registered for every user of the machine, and the setting tool
; with a Start-menu entry. The uninstaller takes away exactly that and leaves
; the device keys under OLEforRetail\ServiceOPOS, which a technician
; configured and which outlive a reinstallation.
;
; The build passes every input file (nothing is looked up by a relative path):
;   makensis -DX64_DLL=<x64 ZOBELSO.dll> -DX86_DLL=<x86 ZOBELSO.dll>
;            -DTOOL=<VORNAOPOSPrintSetting.exe> -DLANGUAGE_INI=<Language.ini>
;            -DOUTFILE=<setup.exe> ZOBELSO.nsi
; Silent: setup.exe /S installs, uninstall.exe /S removes.

Unicode true
; A 64-bit installer: $SYSDIR and the registry are the 64-bit ones without any
; redirection, so the 64-bit regsvr32 and HKLM's 64-bit view are the plain
; names below.
Target amd64-unicode

!macro Required name
  !ifndef ${name}
    !error "pass ${name}=<path> with -D (see the top of this file)"
  !endif
!macroend
!insertmacro Required X64_DLL
!insertmacro Required X86_DLL
!insertmacro Required TOOL
!insertmacro Required LANGUAGE_INI
!insertmacro Required OUTFILE

; The library's own version resource is the one place the version is kept.
!getdllversion "${X64_DLL}" LIBRARY_VERSION_
!define VERSION "${LIBRARY_VERSION_1}.${LIBRARY_VERSION_2}.${LIBRARY_VERSION_3}"

!define PRODUCT "ZOBELSO"
!define TOOL_NAME "VORNAOPOSPrintSetting.exe"
!define UNINSTALLER "uninstall.exe"
!define INSTALL_LOG "install.log"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
!define SHORTCUT "${START_MENU}\OPOS Printer Setting.lnk"
!define WOW64_REGSVR32 "$WINDIR\SysWOW64\regsvr32.exe"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${LIBRARY_VERSION_1}.${LIBRARY_VERSION_2}.${LIBRARY_VERSION_3}.${LIBRARY_VERSION_4}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A line in the details window and in install.log beside the installed
; files: a silent installation shows no window, and the log is what a
; technician can read afterwards.
!macro Note text
  DetailPrint "${text}"
  FileOpen $9 "$INSTDIR\${INSTALL_LOG}" a
  FileSeek $9 0 END
  FileWriteUTF16LE $9 "${text}$\r$\n"
  FileClose $9
!macroend

; Stops a failed installation with an exit code an unattended caller sees.
!macro Fail text
  !insertmacro Note "${text}"
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

Function .onInit
  ; Shortcuts for every user, like the registration.
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "ZOBELSO"
  SetOutPath "$INSTDIR"
  Delete "$INSTDIR\${INSTALL_LOG}"
  !insertmacro Note "${PRODUCT} ${VERSION} into $INSTDIR"

  File "/oname=ZOBELSO.dll" "${X64_DLL}"
  File "/oname=${TOOL_NAME}" "${TOOL}"
  File "/oname=Language.ini" "${LANGUAGE_INI}"
  SetOutPath "$INSTDIR\x86"
  File "/oname=ZOBELSO.dll" "${X86_DLL}"
  SetOutPath "$INSTDIR"

  ; Written before anything is registered, so that a half-finished
  ; installation can still be taken away.
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION} (OPOS service object for ESC/POS printers)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${TOOL_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  CreateDirectory "${START_MENU}"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\${TOOL_NAME}" "" "$INSTDIR\${TOOL_NAME}" 0

  ; Each library registers itself through the regsvr32 of its own bitness:
  ; only that one can load it.
  ClearErrors
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\ZOBELSO.dll"' $0
  IfErrors 0 x64_started
    !insertmacro Fail "could not start $SYSDIR\regsvr32.exe"
  x64_started:
  StrCmp $0 0 x64_registered
    !insertmacro Fail "registering the 64-bit library failed (regsvr32 exit code $0)"
  x64_registered:
  !insertmacro Note "registered $INSTDIR\ZOBELSO.dll (64-bit)"

  ; A system without 32-bit support has no 32-bit regsvr32; the file is
  ; still installed so that adding that support later needs only the
  ; registration.
  IfFileExists "${WOW64_REGSVR32}" 0 no_wow64
    ClearErrors
    ExecWait '"${WOW64_REGSVR32}" /s "$INSTDIR\x86\ZOBELSO.dll"' $0
    IfErrors 0 x86_started
      !insertmacro Fail "could not start ${WOW64_REGSVR32}"
    x86_started:
    StrCmp $0 0 x86_registered
      !insertmacro Fail "registering the 32-bit library failed (regsvr32 exit code $0)"
    x86_registered:
    !insertmacro Note "registered $INSTDIR\x86\ZOBELSO.dll (32-bit)"
    Goto registered
  no_wow64:
    !insertmacro Note "no 32-bit regsvr32 (${WOW64_REGSVR32}): the 32-bit library is installed but not registered"
  registered:
SectionEnd

Section "Uninstall"
  ; A failure to unregister does not keep the files: the rest must go
  ; whatever state an earlier, broken installation left.
  IfFileExists "$INSTDIR\ZOBELSO.dll" 0 x64_done
    ExecWait '"$SYSDIR\regsvr32.exe" /u /s "$INSTDIR\ZOBELSO.dll"' $0
    DetailPrint "unregistered the 64-bit library (regsvr32 exit code $0)"
  x64_done:
  IfFileExists "${WOW64_REGSVR32}" 0 x86_done
  IfFileExists "$INSTDIR\x86\ZOBELSO.dll" 0 x86_done
    ExecWait '"${WOW64_REGSVR32}" /u /s "$INSTDIR\x86\ZOBELSO.dll"' $0
    DetailPrint "unregistered the 32-bit library (regsvr32 exit code $0)"
  x86_done:

  Delete "${SHORTCUT}"
  RMDir "${START_MENU}"

  Delete "$INSTDIR\ZOBELSO.dll"
  Delete "$INSTDIR\x86\ZOBELSO.dll"
  RMDir "$INSTDIR\x86"
  Delete "$INSTDIR\${TOOL_NAME}"
  Delete "$INSTDIR\Language.ini"
  Delete "$INSTDIR\${INSTALL_LOG}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Not /r: a file someone else put there stays, and so does the folder.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
