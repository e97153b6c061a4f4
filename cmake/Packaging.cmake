# The game installed the way a Debian desktop expects it, and packed into a .deb by CPack: the
# executable under games/, the menu entry, the hicolor icons, the AppStream metainfo, the manual
# page in section 6, and the Debian copyright and changelog. One application id names the menu
# entry, the icon and the metainfo.
include(GNUInstallDirs)

set(VEVU_APP_ID org.vevuzudevur.Vevu)
set(VEVU_PACKAGING_SOURCE "${CMAKE_SOURCE_DIR}/packaging")
set(VEVU_PACKAGING_BINARY "${CMAKE_BINARY_DIR}/packaging")

# The version and the release date appear in the metainfo, the manual page and the changelog:
# all three are made from the project's version and CHANGELOG.md, never from the state of the working
# tree. The
# release date at noon UTC is also every file's time in the package (SOURCE_DATE_EPOCH), so two
# builds of the same tree give the same bytes. CMake's own arithmetic, no platform's date command.
function(vevu_epoch_of_date date out)
    string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" matched "${date}")
    if(NOT matched)
        message(FATAL_ERROR "VEVU_RELEASE_DATE '${date}' is not YYYY-MM-DD")
    endif()
    math(EXPR y "${CMAKE_MATCH_1}")
    math(EXPR m "${CMAKE_MATCH_2}")
    math(EXPR d "${CMAKE_MATCH_3}")
    # Days since 1970-01-01 in the proleptic Gregorian calendar, counting years from March.
    if(m LESS_EQUAL 2)
        math(EXPR y "${y} - 1")
        math(EXPR shifted "${m} + 9")
    else()
        math(EXPR shifted "${m} - 3")
    endif()
    math(EXPR era "${y} / 400")
    math(EXPR yoe "${y} - ${era} * 400")
    math(EXPR doy "(153 * ${shifted} + 2) / 5 + ${d} - 1")
    math(EXPR doe "${yoe} * 365 + ${yoe} / 4 - ${yoe} / 100 + ${doy}")
    math(EXPR days "${era} * 146097 + ${doe} - 719468")
    math(EXPR epoch "${days} * 86400 + 12 * 3600")
    set(${out} "${epoch}" PARENT_SCOPE)
endfunction()
vevu_epoch_of_date("${VEVU_RELEASE_DATE}" VEVU_SOURCE_DATE_EPOCH)
# The Debian changelog and the metainfo's releases, from CHANGELOG.md.
include("${CMAKE_SOURCE_DIR}/cmake/Changelog.cmake")
vevu_changelog("${VEVU_PACKAGING_BINARY}/changelog" VEVU_RELEASES_XML)
configure_file("${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.metainfo.xml.in"
               "${VEVU_PACKAGING_BINARY}/english/${VEVU_APP_ID}.metainfo.xml" @ONLY)
# The menu entry and the metainfo in every language of po/ (po/LINGUAS names them), the freedesktop way:
# msgfmt writes each translation beside the English (Comment[de]=..., <summary xml:lang="de">).
set(VEVU_DESKTOP_ENTRY "${VEVU_PACKAGING_BINARY}/${VEVU_APP_ID}.desktop")
set(VEVU_METAINFO "${VEVU_PACKAGING_BINARY}/${VEVU_APP_ID}.metainfo.xml")
add_custom_command(OUTPUT "${VEVU_DESKTOP_ENTRY}"
                   COMMAND "${VEVU_MSGFMT}" --desktop ${VEVU_DESKTOP_KEYWORDS}
                           "--template=${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.desktop" -d "${CMAKE_SOURCE_DIR}/po"
                           -o "${VEVU_DESKTOP_ENTRY}"
                   DEPENDS "${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.desktop" ${VEVU_PO_FILES}
                           "${CMAKE_SOURCE_DIR}/po/LINGUAS" VERBATIM)
add_custom_command(OUTPUT "${VEVU_METAINFO}"
                   COMMAND "${VEVU_MSGFMT}" --xml "--template=${VEVU_PACKAGING_BINARY}/english/${VEVU_APP_ID}.metainfo.xml"
                           -d "${CMAKE_SOURCE_DIR}/po" -o "${VEVU_METAINFO}"
                   DEPENDS "${VEVU_PACKAGING_BINARY}/english/${VEVU_APP_ID}.metainfo.xml" ${VEVU_PO_FILES}
                           "${CMAKE_SOURCE_DIR}/po/LINGUAS" VERBATIM)
configure_file("${VEVU_PACKAGING_SOURCE}/vevu.6.in" "${VEVU_PACKAGING_BINARY}/vevu.6" @ONLY)

# Debian compresses manual pages and changelogs with gzip -9n: no file name, no time stamp, so the
# same text always gives the same bytes.
find_program(VEVU_GZIP gzip REQUIRED)
set(VEVU_COMPRESSED "${VEVU_PACKAGING_BINARY}/vevu.6.gz" "${VEVU_PACKAGING_BINARY}/changelog.gz")
foreach(compressed IN LISTS VEVU_COMPRESSED)
    string(REGEX REPLACE "\\.gz$" "" plain "${compressed}")
    add_custom_command(OUTPUT "${compressed}" COMMAND "${VEVU_GZIP}" -9nkf "${plain}"
                       DEPENDS "${plain}" VERBATIM)
endforeach()
add_custom_target(vevu_packaging_files ALL DEPENDS ${VEVU_COMPRESSED} "${VEVU_DESKTOP_ENTRY}" "${VEVU_METAINFO}")

install(TARGETS vevu RUNTIME DESTINATION games)
install(FILES "${VEVU_DESKTOP_ENTRY}"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
# Replay files (.vrp) open with the game: their type for the desktop's file managers.
install(FILES "${VEVU_PACKAGING_SOURCE}/${VEVU_APP_ID}.mime.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME "${VEVU_APP_ID}.xml")
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
# CPack reads SOURCE_DATE_EPOCH for the time of every member of the package.
file(CONFIGURE OUTPUT "${VEVU_PACKAGING_BINARY}/cpack_options.cmake"
     CONTENT "set(ENV{SOURCE_DATE_EPOCH} \"${VEVU_SOURCE_DATE_EPOCH}\")\n")
set(CPACK_PROJECT_CONFIG_FILE "${VEVU_PACKAGING_BINARY}/cpack_options.cmake")
include(CPack)

# The Debian changelog and the metainfo's releases say what CHANGELOG.md says.
if(VEVU_BUILD_TESTS AND VEVU_PYTHON3)
    add_test(NAME changelog_agrees
             COMMAND "${VEVU_PYTHON3}" "${CMAKE_SOURCE_DIR}/tests/package/changelog_test.py"
                     "${CMAKE_SOURCE_DIR}/CHANGELOG.md" "${VEVU_PACKAGING_BINARY}/changelog"
                     "${VEVU_PACKAGING_BINARY}/${VEVU_APP_ID}.metainfo.xml")
    set_tests_properties(changelog_agrees PROPERTIES LABELS docs)
endif()
