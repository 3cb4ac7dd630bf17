# The release package: InputConfig-<version>-win64.zip with the program, a
# read-me for Windows users and an example settings file, and its hash.
configure_file(${PROJECT_SOURCE_DIR}/docs/windows-readme.txt ${PROJECT_BINARY_DIR}/package/README.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS InputConfig RUNTIME DESTINATION .)
# Not named input.dat, so that unpacking over a game's folder never replaces its bindings.
install(FILES ${PROJECT_BINARY_DIR}/package/README.txt ${PROJECT_SOURCE_DIR}/docs/input.dat.example
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME InputConfig)
set(CPACK_PACKAGE_FILE_NAME InputConfig-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
# <zip>.sha256 beside the zip, in sha256sum's format, to publish with it.
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
