# The Chinese, Japanese and Korean glyphs: Debian's GNU Unifont (fonts-unifont), 16-pixel bitmap glyphs
# that suit the pixel art, cut at build time by tools/cut_font.py to the characters the catalogues'
# translations use that our own fonts lack. The cut font is embedded as Locale\Font\unifont.otf.
# The tools run on the build machine, whatever the target: Debian's own python3 with python3-fonttools.
find_program(VEVU_HOST_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
find_file(VEVU_UNIFONT unifont.otf PATHS /usr/share/fonts/opentype/unifont NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT VEVU_HOST_PYTHON OR NOT VEVU_UNIFONT)
    message(FATAL_ERROR "The CJK font is cut from Debian's fonts-unifont with python3-fonttools: "
                        "scripts/install-deps.sh installs them")
endif()
# The sample's words stand in for the catalogues in the font's tests. The game's texts only: the page's
# and the menu entry's are drawn by the browser and the desktop.
set(VEVU_CJK_CATALOGUES ${VEVU_GAME_PO_FILES})
list(APPEND VEVU_CJK_CATALOGUES "${CMAKE_SOURCE_DIR}/tests/engine/font_sample.po")
set(VEVU_OUR_FONTS "${CMAKE_SOURCE_DIR}/assets/Font/super_effective.ttf"
                   "${CMAKE_SOURCE_DIR}/assets/Locale/Font/super_effective_letters.ttf")
set(VEVU_CJK_FONT "${CMAKE_BINARY_DIR}/fonts/unifont.otf")
add_custom_command(OUTPUT "${VEVU_CJK_FONT}"
                   COMMAND "${CMAKE_COMMAND}" -E make_directory "${CMAKE_BINARY_DIR}/fonts"
                   COMMAND "${VEVU_HOST_PYTHON}" "${CMAKE_SOURCE_DIR}/tools/cut_font.py" "${VEVU_UNIFONT}"
                           "${VEVU_CJK_FONT}" --ours ${VEVU_OUR_FONTS} --catalogues ${VEVU_CJK_CATALOGUES}
                   DEPENDS "${CMAKE_SOURCE_DIR}/tools/cut_font.py" ${VEVU_OUR_FONTS} "${VEVU_UNIFONT}"
                           ${VEVU_CJK_CATALOGUES}
                   COMMENT "Cutting the CJK font to the catalogues' characters" VERBATIM)
