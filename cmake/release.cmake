# The release a player downloads: quor6-<version>-win32.zip (win64 for the 64-bit build)
# with the program, its help (WinHelp file and HTML page) and the Japanese read-me, built by
# the `package` target.
set(readme_name "はじめにお読みください.txt")
# Windows' own text tools expect CRLF line ends; the read-me keeps its UTF-8 BOM.
configure_file(${PROJECT_SOURCE_DIR}/resources/release/${readme_name}
               ${CMAKE_BINARY_DIR}/release/${readme_name} @ONLY NEWLINE_STYLE CRLF)

install(TARGETS quor6 RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/quor6.hlp ${CMAKE_BINARY_DIR}/quor6.html
              ${CMAKE_BINARY_DIR}/release/${readme_name}
        DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(release_platform win64)
else()
  set(release_platform win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quor6)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME quor6-${PROJECT_VERSION}-${release_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
