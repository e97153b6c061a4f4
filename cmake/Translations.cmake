# The game's words in other languages. Every po/CODE.po is checked and compiled by Debian's msgfmt
# (--check: a translation whose placeholders or header are wrong fails the build) into CODE.mo at build
# time; VEVU_CATALOGUES holds the pairs of a resource path and a file that vevu_embed_assets embeds
# (Locale/de.mo -> "Locale\de.mo"), so the package, the Windows program and the page all carry them.
# `cmake --build --preset default --target pot` extracts po/vevu.pot again from the sources with xgettext.
find_program(VEVU_MSGFMT msgfmt NO_CMAKE_FIND_ROOT_PATH)
find_program(VEVU_XGETTEXT xgettext NO_CMAKE_FIND_ROOT_PATH)
file(GLOB VEVU_PO_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/po/*.po")
list(SORT VEVU_PO_FILES)
if(VEVU_PO_FILES AND NOT VEVU_MSGFMT)
    message(FATAL_ERROR "msgfmt missing: the translations cannot be compiled (Debian's gettext package)")
endif()
set(VEVU_CATALOGUES "")
set(VEVU_CATALOGUE_FILES "")
foreach(po IN LISTS VEVU_PO_FILES)
    get_filename_component(code "${po}" NAME_WE)
    set(mo "${CMAKE_BINARY_DIR}/locale/${code}.mo")
    add_custom_command(OUTPUT "${mo}" COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/locale"
                       COMMAND "${VEVU_MSGFMT}" --check -o "${mo}" "${po}" DEPENDS "${po}" VERBATIM
                       COMMENT "Compiling the ${code} catalogue")
    list(APPEND VEVU_CATALOGUES "Locale/${code}.mo" "${mo}")
    list(APPEND VEVU_CATALOGUE_FILES "${mo}")
endforeach()

# The template every translation starts from: each Tr("...") of the sources, with the comment above it
# that begins "TRANSLATORS:". Files are named without line numbers, so moving code leaves it alone.
function(vevu_pot_target)
    if(NOT VEVU_XGETTEXT)
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
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}" VERBATIM
        COMMENT "Extracting po/vevu.pot from the sources")
endfunction()
