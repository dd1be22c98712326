; The Windows installer of Varnok, made by the build (target varnok_installer,
; cmake/WindowsPackaging.cmake) with
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0
;            -DFILES=<nsis-files.nsh> -DOUTFILE=<setup.exe> varnok.nsi
; FILES lists what the deployment folder holds (cmake/WindowsStage.cmake).
; The pictures are this folder's (makensis works in the script's folder),
; made by scripts/windows/make-images.sh.
;
; It installs for the current user only and needs no administrator: into
; %LOCALAPPDATA%\Programs\Varnok, a folder the user may write to, as the
; program names new declarations there. The uninstaller removes exactly the
; files it installed, its shortcuts and its registry keys; declarations the
; user saved in the folder stay, and so does the folder with them.
;
; Silent: Varnok-1.0-setup.exe /S [/D=<folder>]; uninstall.exe /S.

; A 64-bit installer for a 64-bit program: 32-bit Windows refuses to start
; it, rather than installing a program that cannot run there.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!macro VARNOK_REQUIRE NAME
    !ifndef ${NAME}
        !error "makensis needs -D${NAME}=..."
    !endif
!macroend
!insertmacro VARNOK_REQUIRE VERSION
!insertmacro VARNOK_REQUIRE FILES
!insertmacro VARNOK_REQUIRE OUTFILE
!include "${FILES}"

!define APP_NAME "专业技术人员初始注册申报"
!define PUBLISHER "Varnok 开发者"
!define EXE "varnok.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnok"
!define SETTINGS_KEY "Software\Varnok"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Varnok"
InstallDirRegKey HKCU "${SETTINGS_KEY}" "InstallDir"
BrandingText "Varnok ${VERSION}"

!include "MUI2.nsh"

!define MUI_ICON "varnok.ico"
!define MUI_UNICON "varnok.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "installer-welcome.bmp"
!define MUI_ABORTWARNING
; NSIS's own welcome asks to close every other program so that system files
; can be replaced; this installer touches none.
; Titles short enough for one line with the long name.
!define MUI_WELCOMEPAGE_TITLE "欢迎安装 $(^NameDA)"
!define MUI_FINISHPAGE_TITLE "$(^NameDA) 已安装"
!define VARNOK_WELCOME_1 "此程序将引导你完成 $(^NameDA) 的安装。"
!define VARNOK_WELCOME_2 "程序只为当前用户安装，不需要管理员权限；安装后，开始菜单和桌面上各有一个“${APP_NAME}”快捷方式。"
!define MUI_WELCOMEPAGE_TEXT "${VARNOK_WELCOME_1}$\r$\n$\r$\n${VARNOK_WELCOME_2}$\r$\n$\r$\n点击 [下一步(N)] 继续。"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "启动 ${APP_NAME}"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; The installer's own file properties.
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${APP_NAME} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"

Function .onInit
    SetShellVarContext current
FunctionEnd

Section "-Program"
    !insertmacro VARNOK_INSTALL_FILES
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"

    ; The working folder of the shortcuts is the program's folder.
    CreateShortCut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
    CreateShortCut "$DESKTOP\${APP_NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKCU "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
    ; 应用和功能 (Apps & features) lists per-user programs from here.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${VARNOK_INSTALLED_KB}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
    SetShellVarContext current
FunctionEnd

Section "Uninstall"
    ; A running program keeps its files: ask to close it first.
  check_running:
    ClearErrors
    IfFileExists "$INSTDIR\${EXE}" 0 not_running
    FileOpen $0 "$INSTDIR\${EXE}" a
    IfErrors 0 close_check
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${APP_NAME} 正在运行。请先退出程序，然后点“重试”。" /SD IDCANCEL IDRETRY check_running
    Abort
  close_check:
    FileClose $0
  not_running:

    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$DESKTOP\${APP_NAME}.lnk"
    !insertmacro VARNOK_REMOVE_FILES
    Delete "$INSTDIR\${UNINSTALLER}"
    ; Only when empty: declarations saved here stay where the user left them.
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd
