# The installer's own words in English; NSIS has its pages' words in each language, and
# tools/installer_words.py writes ours from po/ beside these (cmake/WindowsPackaging.cmake). The numbers
# are Windows' language ids (1033 English), as the languages are loaded only further down the script.
LangString VEVU_SHORTCUT 1033 "Create a desktop shortcut"
LangString VEVU_NOT_WRITABLE 1033 'The Vevu Zudevur cannot be installed in $INSTDIR: the folder cannot be made or written to. Choose another folder.'
