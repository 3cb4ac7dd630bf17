# The release package: InputConfig-<version>-win64.zip with the program, a
# read-me for Windows users, an example settings file, the licence and the
# notices of the runtime linked into the program, and its hash.
# The texts get Windows line ends, for Notepad before Windows 10.

# The read-me's lines that start with @IF_SIGNED@ are for a signed program
# only, those with @IF_UNSIGNED@ for an unsigned one: both variants are made,
# package/README.txt and package/signed/README.txt.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt)
file(READ ${PROJECT_SOURCE_DIR}/docs/windows-readme.txt readme_source)
foreach(variant unsigned signed)
  string(TOUPPER ${variant} kept)
  if(variant STREQUAL signed)
    set(dropped UNSIGNED)
    set(folder package/signed)
  else()
    set(dropped SIGNED)
    set(folder package)
  endif()
  string(REGEX REPLACE "@IF_${dropped}@[^\n]*\n" "" text "${readme_source}")
  string(REPLACE "@IF_${kept}@" "" text "${text}")
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/${folder}/README.txt CONTENT "${text}" @ONLY NEWLINE_STYLE CRLF)
endforeach()
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
# The stripped program's budget; measure-size shows what fills it.
set(INPUTCONFIG_EXE_BUDGET 262144 CACHE INTERNAL "The stripped InputConfig.exe's size budget, in bytes")
# Signs, for tools/package --sign, and checks the staged package before the zip is written.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/package-checks.cmake)
set(CPACK_INPUTCONFIG_FINISH ${PROJECT_SOURCE_DIR}/cmake/finish-package ${PROJECT_BINARY_DIR})
include(CPack)
