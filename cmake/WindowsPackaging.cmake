# The game for Windows as a portable zip and an installer (CPack's ZIP and NSIS generators; Debian's nsis
# makes the installer). Both hold the program, the licence and a short read-me, and carry the project's
# version: vevu-<version>-windows-x64.zip and vevu-<version>-windows-x64-setup.exe. The installer adds a
# Start menu entry with the game's icon, offers a desktop shortcut, registers the game in the list of
# installed programs, and its uninstaller removes all it installed.
set(VEVU_WINDOWS_PACKAGING "${CMAKE_SOURCE_DIR}/packaging/windows")
configure_file("${VEVU_WINDOWS_PACKAGING}/README.txt.in" "${CMAKE_BINARY_DIR}/windows/README.txt" @ONLY
               NEWLINE_STYLE CRLF)
configure_file("${CMAKE_SOURCE_DIR}/LICENSE" "${CMAKE_BINARY_DIR}/windows/LICENSE.txt" COPYONLY)
install(TARGETS vevu RUNTIME DESTINATION .)
install(FILES "${CMAKE_BINARY_DIR}/windows/README.txt" "${CMAKE_BINARY_DIR}/windows/LICENSE.txt" DESTINATION .)

set(VEVU_DISPLAY_NAME "The Vevu Zudevur")
set(CPACK_VERBATIM_VARIABLES ON) # the installer's script below reaches NSIS as written
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME vevu)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Vevu Zudevur developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action game about an abducting alien larva")
set(CPACK_PACKAGE_FILE_NAME "vevu-${PROJECT_VERSION}-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${VEVU_DISPLAY_NAME}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${VEVU_DISPLAY_NAME}")
set(CPACK_PACKAGE_EXECUTABLES vevu "${VEVU_DISPLAY_NAME}")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_BINARY_DIR}/windows/LICENSE.txt")
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON) # the zip unpacks into one folder named as itself

set(CPACK_NSIS_PACKAGE_NAME "${VEVU_DISPLAY_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${VEVU_DISPLAY_NAME}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALLED_ICON_NAME vevu.exe)
set(CPACK_NSIS_MUI_ICON "${CMAKE_SOURCE_DIR}/packaging/icons/org.vevuzudevur.Vevu.ico")
set(CPACK_NSIS_MUI_UNIICON "${CMAKE_SOURCE_DIR}/packaging/icons/org.vevuzudevur.Vevu.ico")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_CONTACT "developers@vevuzudevur.org")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# A 64-bit Unicode installer, as the game is 64-bit (and runs where only 64-bit programs do), so that an
# install folder named in any script works; the finish page offers the desktop shortcut (unticked), which
# the uninstaller removes with the rest. Once it has removed all, the uninstaller also removes the vendor's
# key, which CPack's uninstaller leaves behind empty.
set(CPACK_NSIS_DEFINES "
  Target amd64-unicode
  !define MUI_FINISHPAGE_SHOWREADME \"\"
  !define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
  !define MUI_FINISHPAGE_SHOWREADME_TEXT \"Create a desktop shortcut\"
  !define MUI_FINISHPAGE_SHOWREADME_FUNCTION VevuDesktopShortcut
  Function VevuDesktopShortcut
    CreateShortCut \"$DESKTOP\\${VEVU_DISPLAY_NAME}.lnk\" \"$INSTDIR\\vevu.exe\"
  FunctionEnd
  Function un.onUninstSuccess
    DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
  FunctionEnd")
# A folder that cannot be made or written to (a read-only drive, a folder the user may not write) stops the
# installer with its own error and exit code 2 before it installs anything: NSIS itself would skip each
# file it cannot write, silently when run with /S, and report success. (A path NSIS finds invalid, such as
# one on a drive that is not there, its folder page refuses, and its silent mode replaces with the default.)
set(CPACK_NSIS_EXTRA_PREINSTALL_COMMANDS "
  ClearErrors
  FileOpen $0 \"$INSTDIR\\vevu-write-check.tmp\" w
  IfErrors 0 vevu_folder_writable
    MessageBox MB_OK|MB_ICONSTOP \"${VEVU_DISPLAY_NAME} cannot be installed in $INSTDIR: the folder cannot be made or written to. Choose another folder.\" /SD IDOK
    SetErrorLevel 2
    Quit
  vevu_folder_writable:
  FileClose $0
  Delete \"$INSTDIR\\vevu-write-check.tmp\"")
# Replay files (.vrp) open with the game: their class names the game's icon and command; the uninstaller
# removes the class, and the extension's key while it still names the class.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  WriteRegStr SHCTX \"Software\\Classes\\.vrp\" \"\" \"VevuZudevur.Replay\"
  WriteRegStr SHCTX \"Software\\Classes\\.vrp\" \"Content Type\" \"application/x-vevu-replay\"
  WriteRegStr SHCTX \"Software\\Classes\\VevuZudevur.Replay\" \"\" \"${VEVU_DISPLAY_NAME} replay\"
  WriteRegStr SHCTX \"Software\\Classes\\VevuZudevur.Replay\\DefaultIcon\" \"\" \"$INSTDIR\\vevu.exe,0\"
  WriteRegStr SHCTX \"Software\\Classes\\VevuZudevur.Replay\\shell\\open\\command\" \"\" '\"$INSTDIR\\vevu.exe\" \"%1\"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  Delete \"$DESKTOP\\${VEVU_DISPLAY_NAME}.lnk\"
  ReadRegStr $0 SHCTX \"Software\\Classes\\.vrp\" \"\"
  StrCmp $0 \"VevuZudevur.Replay\" 0 +2
    DeleteRegKey SHCTX \"Software\\Classes\\.vrp\"
  DeleteRegKey SHCTX \"Software\\Classes\\VevuZudevur.Replay\"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
# The installer's name says what it is beside the zip.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_BINARY_DIR}/windows/CPackOptions.cmake")
file(CONFIGURE OUTPUT "${CPACK_PROJECT_CONFIG_FILE}" CONTENT [[
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF) # the installer has its own folder
endif()
]])
include(CPack)
