; The Kavrelo installer: one user's copy, no administrator rights. Built on
; Linux by scripts/release.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.0 -DVERSION_NUMBERS=2.0.0.0
;     -DARCH=x86|x64 -DSTAGE=<folder with kavrelo.exe> -DICON=<kavrelo.ico>
;     -DWEB_URL=<maker's page> -DOUTFILE=<setup.exe> kavrelo.nsi
; /S installs (and the uninstaller removes) silently with the defaults;
; kaldir.exe /VERILER also ticks the removal of the user's data folder.
; Both installers put the program in the same place under the same entry,
; so installing one over the other switches the copy and keeps the options.

!if "${ARCH}" == "x64"
; The installer and its uninstaller are 64-bit programs too: a 64-bit
; program's installer has nothing to do on 32-bit Windows.
Target amd64-unicode
!else if "${ARCH}" == "x86"
Unicode true
!else
!error "ARCH must be x86 or x64"
!endif
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define PRODUCT "Kavrelo"
!define PUBLISHER "Valdomer"
!define EXE "kavrelo.exe"
!define UNINSTALLER "kaldir.exe"
!define SHORTCUT "$SMPROGRAMS\Kavrelo.lnk"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavrelo"
; The value the options panel's "start with Windows" writes: this name, the
; program's full path in double quotes.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Kavrelo"
; What a running ticker answers to: its window class, its single-instance
; mutex and the close request it accepts from other processes.
!define WINDOW_CLASS "kavreloclass"
!define MUTEX "kavrelomutex"
!define WM_REMOTECLOSE 37683
!define SYNCHRONIZE 0x00100000
; Steps of 100 ms: the ticker fades out before it closes.
!define CLOSE_WAIT_STEPS 150
!define REPLACE_WAIT_STEPS 50

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kavrelo"
; An upgrade goes where the last installation went.
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"

Var ClosedTicker

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNowText)"
!define MUI_FINISHPAGE_RUN_FUNCTION StartTicker

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; (The show function is the finish page's: it follows the page's defines.)
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Turkish"

LangString ProgramSectionText ${LANG_TURKISH} "Kavrelo (gerekli)"
LangString AutoStartSectionText ${LANG_TURKISH} "Windows ile başlat"
LangString UnProgramSectionText ${LANG_TURKISH} "Kavrelo programı"
LangString UnDataSectionText ${LANG_TURKISH} "Kullanıcı verileri (seçenekler ve son haberler)"
LangString RunNowText ${LANG_TURKISH} "Kavrelo'yu şimdi başlat"
LangString ShortcutText ${LANG_TURKISH} "Son dakika haberleri"
LangString CloseFailedText ${LANG_TURKISH} "Kavrelo kapatılamadı. Programı kapatıp Yeniden Dene'ye basın."
LangString ReplaceFailedText ${LANG_TURKISH} "$INSTDIR\${EXE} değiştirilemiyor. Programı kapatıp Yeniden Dene'ye basın."

VIProductVersion "${VERSION_NUMBERS}"
VIFileVersion "${VERSION_NUMBERS}"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_TURKISH} "CompanyName" "${PUBLISHER}"
!if "${ARCH}" == "x64"
VIAddVersionKey /LANG=${LANG_TURKISH} "FileDescription" "Kavrelo kurulumu (64 bit)"
!else
VIAddVersionKey /LANG=${LANG_TURKISH} "FileDescription" "Kavrelo kurulumu"
!endif
VIAddVersionKey /LANG=${LANG_TURKISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_TURKISH} "LegalCopyright" "© ${PUBLISHER}"

; A running ticker holds its exe open. It is asked to close with the message
; it accepts from any process and then waited for until its mutex is gone,
; within a bound; one that does not close leaves the choice to the user, and
; a silent run ends with error level 2 instead of waiting for ever.
!macro CLOSE_TICKER_FUNCTION un
Function ${un}CloseTicker
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $ClosedTicker 0
  retry:
  StrCpy $1 0 ; steps waited
  StrCpy $3 0 ; close request sent
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${MUTEX}") p .r2'
    ${If} $2 = 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r2)'
    StrCpy $ClosedTicker 1
    ; Asked once: a second request would start the fade-out again.
    ${If} $3 = 0
      FindWindow $0 "${WINDOW_CLASS}"
      ${If} $0 <> 0
        System::Call 'user32::PostMessageW(p r0, i ${WM_REMOTECLOSE}, p 0, p 0)'
        StrCpy $3 1
      ${EndIf}
    ${EndIf}
    ${If} $1 >= ${CLOSE_WAIT_STEPS}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseFailedText)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
    IntOp $1 $1 + 1
    Sleep 100
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The process may outlive its mutex by a moment; the old exe is gone before
; anything is written.
Function ${un}RemoveProgramFile
  Push $1
  retry:
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${EXE}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    ${If} $1 >= ${REPLACE_WAIT_STEPS}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ReplaceFailedText)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort
    ${EndIf}
    IntOp $1 $1 + 1
    Sleep 100
  ${Loop}
  Pop $1
FunctionEnd
!macroend
!insertmacro CLOSE_TICKER_FUNCTION ""
!insertmacro CLOSE_TICKER_FUNCTION "un."

Section "$(ProgramSectionText)" SecProgram
  SectionIn RO
  Call CloseTicker
  Call RemoveProgramFile
  SetOutPath "$INSTDIR"
  File "${STAGE}\${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "$(ShortcutText)"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINST_KEY}" "URLInfoAbout" "${WEB_URL}"
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" "$0"
SectionEnd

Section "$(AutoStartSectionText)" SecAutoStart
  WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\${EXE}"'
SectionEnd

Section "-Finish"
  ; Autostart left unticked: this copy's value goes, another copy's stays.
  ${IfNot} ${SectionIsSelected} ${SecAutoStart}
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == '"$INSTDIR\${EXE}"'
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    ; The program brings the Run value in line with its own switch, which is
    ; on until the options say otherwise: a first install says so for it.
    ; An existing options file is the user's and stays as it is.
    ${IfNot} ${FileExists} "$APPDATA\Valdomer\Kavrelo\options.ini"
      CreateDirectory "$APPDATA\Valdomer\Kavrelo"
      ClearErrors
      FileOpen $1 "$APPDATA\Valdomer\Kavrelo\options.ini" w
      ${IfNot} ${Errors}
        FileWriteWord $1 0xFEFF
        FileWriteUTF16LE $1 "[options]$\r$\nstartup=0$\r$\n$\r$\n"
        FileClose $1
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ; A silent upgrade brings back the ticker it closed; with pages the finish
  ; page offers to start it.
  ${If} $ClosedTicker = 1
  ${AndIf} ${Silent}
    Call StartTicker
  ${EndIf}
SectionEnd

;
; What this installer starts runs with its rights. Run elevated (as
; administrator, or by an elevated updater) while the signed-in user's
; shell is not, it would start the ticker elevated for years of logons'
; worth of feeds and links: it then starts nothing, and the finish page
; offers nothing. Pushes 1 in that case, else 0.
!define TOKEN_QUERY 8
!define TOKEN_ELEVATION 20
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
; IS_ELEVATED PROCESS_HANDLE -> $0 (1 elevated, 0 not or unknown)
!macro IS_ELEVATED process
  StrCpy $0 0
  System::Call 'advapi32::OpenProcessToken(p ${process}, i ${TOKEN_QUERY}, *p .r8) i .r9'
  ${If} $9 <> 0
    System::Call 'advapi32::GetTokenInformation(p r8, i ${TOKEN_ELEVATION}, *i .r7, i 4, *i .r9) i .r9'
    ${If} $9 <> 0
    ${AndIf} $7 <> 0
      StrCpy $0 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r8)'
  ${EndIf}
!macroend
Function ElevatedAboveShell
  Push $0
  Push $1
  Push $2
  Push $7
  Push $8
  Push $9
  StrCpy $1 0
  !insertmacro IS_ELEVATED -1
  ; Elevated, and the shell (the desktop's Explorer) is not: UAC split the
  ; user's rights and this installer has the other half. With UAC off both
  ; are elevated. Without a shell window there is no signed-in user's shell
  ; to start anything as (Wine has none), and the ticker starts as before.
  ${If} $0 = 1
    System::Call 'user32::GetShellWindow() p .r2'
    ${If} $2 P<> 0
      ; A shell this installer cannot look into is not shown to be elevated.
      StrCpy $1 1
      System::Call 'user32::GetWindowThreadProcessId(p r2, *i .r9) i'
      System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i r9) p .r2'
      ${If} $2 P<> 0
        !insertmacro IS_ELEVATED $2
        ${If} $0 = 1
          StrCpy $1 0
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r2)'
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $9
  Pop $8
  Pop $7
  Pop $2
  Pop $0
  Exch $1
FunctionEnd

Function StartTicker
  Call ElevatedAboveShell
  Pop $0
  ${If} $0 = 0
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
FunctionEnd

Function FinishPageShow
  Call ElevatedAboveShell
  Pop $0
  ${If} $0 = 1
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} 0 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext current
  StrCpy $ClosedTicker 0
  ; /OTOBASLATMA: install without "start with Windows" (for silent installs).
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/OTOBASLATMA" $R1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutoStart}
  ${EndIf}
  ; An upgrade keeps the autostart choice made since the last installation.
  ReadRegStr $0 HKCU "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != ""
    ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $1 == ""
      !insertmacro UnselectSection ${SecAutoStart}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "un.$(UnProgramSectionText)" UnSecProgram
  SectionIn RO
  Call un.CloseTicker
  Call un.RemoveProgramFile
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  ; Only this copy's autostart value: a portable copy may have its own.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == '"$INSTDIR\${EXE}"'
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd

; Off unless ticked: the options and the last feed outlive the program.
Section /o "un.$(UnDataSectionText)" UnSecData
  RMDir /r "$APPDATA\Valdomer\Kavrelo"
  RMDir "$APPDATA\Valdomer"
SectionEnd

Function un.onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/VERILER" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecData}
  ${EndIf}
FunctionEnd
