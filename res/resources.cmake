# Resources made at build time besides the icons: the help text, turned from its readable
# UTF-8 source into the code page 1252, CR LF bytes that the help dialog shows.
add_custom_command(
    OUTPUT ${BRUMIX_GENERATED}/help_1252.txt
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/make_help_text.py
            ${CMAKE_SOURCE_DIR}/res/help.txt ${BRUMIX_GENERATED}/help_1252.txt
    DEPENDS ${CMAKE_SOURCE_DIR}/res/help.txt ${CMAKE_SOURCE_DIR}/scripts/make_help_text.py
    COMMENT "Converting the help text to code page 1252")
list(APPEND BRUMIX_RESOURCE_INPUTS ${BRUMIX_GENERATED}/help_1252.txt
                                   ${CMAKE_SOURCE_DIR}/res/brumix.manifest)
