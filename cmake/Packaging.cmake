# The game installed the way a Debian desktop expects it, and packed into a .deb by CPack: the
# executable under games/, the menu entry, the hicolor icons, the AppStream metainfo, the manual
# page in section 6, and the Debian copyright and changelog. One application id names the menu
# entry, the icon and the metainfo.
include(GNUInstallDirs)

set(VEVU_APP_ID org.vevuzudevur.Vevu)
set(VEVU_PACKAGING_SOURCE "${CMAKE_SOURCE_DIR}/packaging")
set(VEVU_PACKAGING_BINARY "${CMAKE_BINARY_DIR}/packaging")

# The version and the release date appear in the metainfo, the manual page and the changelog:
# all three are made from the project's version, never from the state of the working tree.
execute_process(COMMAND date -u -R -d "${VEVU_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE VEVU_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
configure_file("${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.metainfo.xml.in"
               "${VEVU_PACKAGING_BINARY}/${VEVU_APP_ID}.metainfo.xml" @ONLY)
configure_file("${VEVU_PACKAGING_SOURCE}/vevu.6.in" "${VEVU_PACKAGING_BINARY}/vevu.6" @ONLY)
configure_file("${VEVU_PACKAGING_SOURCE}/changelog.in" "${VEVU_PACKAGING_BINARY}/changelog" @ONLY)

# Debian compresses manual pages and changelogs with gzip -9n: no file name, no time stamp, so the
# same text always gives the same bytes.
find_program(VEVU_GZIP gzip REQUIRED)
set(VEVU_COMPRESSED "${VEVU_PACKAGING_BINARY}/vevu.6.gz" "${VEVU_PACKAGING_BINARY}/changelog.gz")
foreach(compressed IN LISTS VEVU_COMPRESSED)
    string(REGEX REPLACE "\\.gz$" "" plain "${compressed}")
    add_custom_command(OUTPUT "${compressed}" COMMAND "${VEVU_GZIP}" -9nkf "${plain}"
                       DEPENDS "${plain}" VERBATIM)
endforeach()
add_custom_target(vevu_packaging_files ALL DEPENDS ${VEVU_COMPRESSED})

install(TARGETS vevu RUNTIME DESTINATION games)
install(FILES "${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(DIRECTORY "${VEVU_PACKAGING_SOURCE}/icons/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor"
        FILES_MATCHING PATTERN "${VEVU_APP_ID}.png")
install(FILES "${VEVU_PACKAGING_BINARY}/${VEVU_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${VEVU_PACKAGING_BINARY}/vevu.6.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${VEVU_PACKAGING_SOURCE}/copyright" "${VEVU_PACKAGING_BINARY}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/vevu")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vevu)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Vevu Zudevur developers")
set(CPACK_PACKAGE_CONTACT "The Vevu Zudevur developers <developers@vevuzudevur.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "side-scrolling action game about an abducting alien larva")
set(CPACK_PACKAGE_DESCRIPTION_FILE "${VEVU_PACKAGING_SOURCE}/description.txt")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories made for the package are 0755 whatever the umask of the machine that packs it.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
