# The game's words in other languages. Every po/CODE.po is checked and compiled by Debian's msgfmt
# (--check: a translation whose placeholders or header are wrong fails the build) into CODE.mo at build
# time; VEVU_CATALOGUES holds the pairs of a resource path and a file that vevu_embed_assets embeds
# (Locale/de.mo -> "Locale\de.mo"), so the package, the Windows program and the page all carry them.
# `cmake --build --preset default --target pot` extracts po/vevu.pot again from the sources with xgettext.
find_program(VEVU_MSGFMT msgfmt NO_CMAKE_FIND_ROOT_PATH)
find_program(VEVU_XGETTEXT xgettext NO_CMAKE_FIND_ROOT_PATH)
find_program(VEVU_PAGE_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
# The functions the page's scripts pass an English text to (tests/po/check_po.py names them too).
set(VEVU_PAGE_KEYWORDS --keyword=tr --keyword=show:2 --keyword=say --keyword=sayAboutReplays --keyword=tell:2)
# The menu entry's keys that are translated: not Name, the game's name.
set(VEVU_DESKTOP_KEYWORDS --keyword= --keyword=GenericName --keyword=Comment --keyword=Keywords)
file(GLOB VEVU_PO_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/po/*.po")
list(SORT VEVU_PO_FILES)
if(VEVU_PO_FILES AND NOT VEVU_MSGFMT)
    message(FATAL_ERROR "msgfmt missing: the translations cannot be compiled (Debian's gettext package)")
endif()
set(VEVU_CATALOGUES "")
set(VEVU_CATALOGUE_FILES "")
# The game embeds only the texts its sources use (those of src/): the page's, the menu entry's and the
# installer's words share the .po files but are compiled apart (VEVU_PAGE_CATALOGUE_FILES, for the page)
# or merged where they are used (cmake/Packaging.cmake, cmake/WindowsPackaging.cmake).
find_program(VEVU_MSGGREP msggrep NO_CMAKE_FIND_ROOT_PATH)
set(VEVU_PAGE_CATALOGUE_FILES "")
set(VEVU_GAME_PO_FILES "") # the game's texts of each .po: what the CJK font is cut to
foreach(po IN LISTS VEVU_PO_FILES)
    get_filename_component(code "${po}" NAME_WE)
    set(mo "${CMAKE_BINARY_DIR}/locale/${code}.mo")
    set(page_mo "${CMAKE_BINARY_DIR}/locale/page/${code}.mo")
    set(game_po "${CMAKE_BINARY_DIR}/locale/${code}.game.po")
    add_custom_command(OUTPUT "${mo}" "${page_mo}" "${game_po}"
                       COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/locale/page"
                       COMMAND "${VEVU_MSGFMT}" --check -o /dev/null "${po}"
                       COMMAND "${VEVU_MSGGREP}" -N "src/*/*" -o "${game_po}" "${po}"
                       COMMAND "${VEVU_MSGFMT}" -o "${mo}" "${game_po}"
                       COMMAND "${VEVU_MSGGREP}" -N "web/*" -o "${CMAKE_BINARY_DIR}/locale/page/${code}.po" "${po}"
                       COMMAND "${VEVU_MSGFMT}" -o "${page_mo}" "${CMAKE_BINARY_DIR}/locale/page/${code}.po"
                       DEPENDS "${po}" VERBATIM COMMENT "Compiling the ${code} catalogue")
    list(APPEND VEVU_CATALOGUES "Locale/${code}.mo" "${mo}")
    list(APPEND VEVU_CATALOGUE_FILES "${mo}")
    list(APPEND VEVU_PAGE_CATALOGUE_FILES "${page_mo}")
    list(APPEND VEVU_GAME_PO_FILES "${game_po}")
endforeach()

# The template every translation starts from: each Tr("...") of the sources and each tr("...") of the
# page's scripts, with the comment above it that begins "TRANSLATORS:". Files are named without line numbers, so moving code leaves it alone.
function(vevu_pot_target)
    if(NOT VEVU_XGETTEXT OR NOT VEVU_PAGE_PYTHON)
        return()
    endif()
    file(GLOB_RECURSE sources RELATIVE "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/src/*.cpp"
         "${CMAKE_SOURCE_DIR}/src/*.h")
    list(SORT sources)
    add_custom_target(pot
        COMMAND "${VEVU_XGETTEXT}" --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=TrContext:1c,2 --keyword=TrMark
                --keyword=TrPlural:1,2
                --add-comments=TRANSLATORS:
                --add-location=file --sort-by-file --force-po --package-name=vevu
                --package-version=${PROJECT_VERSION}
                -o po/vevu.pot ${sources}
        # The page's words (tr, show, say and the others the page's scripts show a text with), read from a
        # copy of the page that holds only its script.
        COMMAND "${VEVU_PAGE_PYTHON}" tools/page_words.py --scripts . "${CMAKE_BINARY_DIR}/page-scripts"
        COMMAND "${VEVU_XGETTEXT}" --language=JavaScript --from-code=UTF-8 ${VEVU_PAGE_KEYWORDS}
                --add-comments=TRANSLATORS: --add-location=file --join-existing --package-name=vevu
                --package-version=${PROJECT_VERSION}
                --directory "${CMAKE_BINARY_DIR}/page-scripts" -o po/vevu.pot web/shell.html web/player_files.js
        # The menu entry's and the metainfo's words (the game's name is never translated).
        COMMAND "${VEVU_XGETTEXT}" --language=Desktop ${VEVU_DESKTOP_KEYWORDS} --add-location=file --join-existing
                --package-name=vevu --package-version=${PROJECT_VERSION} -o po/vevu.pot
                packaging/org.vevuzudevur.Vevu.desktop
        COMMAND "${VEVU_XGETTEXT}" --from-code=UTF-8 --add-location=file --join-existing --package-name=vevu
                --package-version=${PROJECT_VERSION} -o po/vevu.pot packaging/org.vevuzudevur.Vevu.metainfo.xml.in
        # The Windows installer's own (NSIS has its pages' words in every language).
        COMMAND "${VEVU_XGETTEXT}" --language=Shell --keyword= --keyword=LangString:3 --add-location=file
                --join-existing --package-name=vevu --package-version=${PROJECT_VERSION} -o po/vevu.pot
                packaging/windows/installer_words.nsh
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}" VERBATIM
        COMMENT "Extracting po/vevu.pot from the sources")
endfunction()
