# The release package: InputConfig-<version>-win64.zip with the program, a
# read-me for Windows users, an example settings file, the licence and the
# notices of the runtime linked into the program, and its hash.
# The texts get Windows line ends, for Notepad before Windows 10.
configure_file(${PROJECT_SOURCE_DIR}/docs/windows-readme.txt ${PROJECT_BINARY_DIR}/package/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/package/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/docs/third-party-notices.txt
               ${PROJECT_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS InputConfig RUNTIME DESTINATION .)
# Not named input.dat, so that unpacking over a game's folder never replaces its bindings.
install(FILES ${PROJECT_BINARY_DIR}/package/README.txt ${PROJECT_SOURCE_DIR}/docs/input.dat.example
              ${PROJECT_BINARY_DIR}/package/LICENSE.txt ${PROJECT_BINARY_DIR}/package/THIRD-PARTY-NOTICES.txt
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME InputConfig)
set(CPACK_PACKAGE_FILE_NAME InputConfig-${PROJECT_VERSION}-win64)
# Everything in a folder of that name, so that unpacking writes nothing beside it.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# <zip>.sha256 beside the zip, in sha256sum's format, to publish with it.
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
