# windows.cmake: the Windows build, included by CMakeLists.txt when cross-building with
# tools/windows-toolchain.cmake: the GUI executable with its resources, the DLLs and media beside
# it, the tests that run under Wine, and the zip and the NSIS installer (tools/windows.sh).

# The system's own picture decoder, COM and the known folders.
target_link_libraries(tavirel_game PUBLIC windowscodecs ole32 uuid shell32)
find_library(SDLMAIN_STATIC_LIBRARY SDLmain REQUIRED)

# The C++ runtime and threads inside the executables, so that only SDL's DLLs go beside them.
set(WINDOWS_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

# 1.01 as the resources count versions: 1,1,0,0.
math(EXPR TAVIREL_MINOR "${PROJECT_VERSION_MINOR}")
set(TAVIREL_WINDOWS_COMMAS "${PROJECT_VERSION_MAJOR},${TAVIREL_MINOR},0,0")
set(TAVIREL_WINDOWS_VERSION "${PROJECT_VERSION_MAJOR}.${TAVIREL_MINOR}.0.0")
configure_file(dist/windows/tavirel.manifest ${CMAKE_BINARY_DIR}/tavirel.manifest @ONLY)
configure_file(dist/windows/tavirel.rc.in ${CMAKE_BINARY_DIR}/tavirel.rc @ONLY)
enable_language(RC)

add_executable(tavirel WIN32 app/main.cpp ${CMAKE_BINARY_DIR}/tavirel.rc)
target_link_libraries(tavirel PRIVATE mingw32 ${SDLMAIN_STATIC_LIBRARY} tavirel_game)
target_link_options(tavirel PRIVATE ${WINDOWS_STATIC_RUNTIME})

# The DLLs the game loads: SDL, SDL_mixer and the Ogg Vorbis decoder it uses.
set(WINDOWS_DLLS SDL.dll SDL_mixer.dll libvorbisfile-3.dll libvorbis-0.dll libogg-0.dll)
set(WINDOWS_DLL_PATHS "")
foreach(dll ${WINDOWS_DLLS})
  list(APPEND WINDOWS_DLL_PATHS ${TAVIREL_WINDOWS_LIBS}/bin/${dll})
endforeach()
add_custom_command(TARGET tavirel POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/media $<TARGET_FILE_DIR:tavirel>/media
  COMMAND ${CMAKE_COMMAND} -E copy ${WINDOWS_DLL_PATHS} $<TARGET_FILE_DIR:tavirel>)

# The game's folder: the executable, its DLLs, media/, the players' README and the licence.
install(TARGETS tavirel RUNTIME DESTINATION .)
install(FILES ${WINDOWS_DLL_PATHS} DESTINATION .)
install(DIRECTORY media/ DESTINATION media)
# The two texts with Windows' line ends, for any editor there.
configure_file(dist/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION . RENAME LICENSE)

if(TAVIREL_TESTS)
  # GoogleTest from Debian's sources, built for Windows.
  set(GTEST_SOURCE /usr/src/googletest/googletest)
  add_library(gtest_windows STATIC ${GTEST_SOURCE}/src/gtest-all.cc ${GTEST_SOURCE}/src/gtest_main.cc)
  target_include_directories(gtest_windows SYSTEM PUBLIC ${GTEST_SOURCE}/include PRIVATE ${GTEST_SOURCE})
  target_compile_options(gtest_windows PRIVATE -w)

  file(GLOB RULES_TEST_SOURCES CONFIGURE_DEPENDS tests/rules/*.cpp)
  add_executable(tavirel_rules_tests ${RULES_TEST_SOURCES})
  target_link_libraries(tavirel_rules_tests PRIVATE tavirel_rules gtest_windows)
  target_link_options(tavirel_rules_tests PRIVATE ${WINDOWS_STATIC_RUNTIME})

  file(GLOB WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS tests/windows/*.cpp)
  # With the log of a start-up in which everything works and the save tests, shared with the Linux tests.
  add_executable(tavirel_windows_tests ${WINDOWS_TEST_SOURCES} tests/support_log.cpp tests/picture_cases.cpp
    tests/screen_helpers.cpp tests/save_test.cpp)
  target_include_directories(tavirel_windows_tests PRIVATE tests)
  target_link_libraries(tavirel_windows_tests PRIVATE tavirel_game gtest_windows)
  target_link_options(tavirel_windows_tests PRIVATE ${WINDOWS_STATIC_RUNTIME})
  target_compile_definitions(tavirel_windows_tests PRIVATE TAVIREL_SOURCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
endif()

# tools/windows.sh: cpack makes tavirel-<version>-windows-x64.zip and tavirel-<version>-setup.exe.
set(CPACK_PACKAGE_NAME tavirel)
set(CPACK_PACKAGE_VENDOR "The Tavirel team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tavirel, a falling-blocks puzzle game")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tavirel)
set(CPACK_PACKAGE_EXECUTABLES tavirel Tavirel)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_NSIS_PACKAGE_NAME Tavirel)
set(CPACK_NSIS_DISPLAY_NAME Tavirel)
set(CPACK_NSIS_INSTALLED_ICON_NAME tavirel.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_SOURCE_DIR}/dist/windows/tavirel.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_SOURCE_DIR}/dist/windows/tavirel.ico)
# A 64-bit installer, for a 64-bit game, into the 64-bit Program Files; the uninstaller removes the
# game's folder only: the player's settings, scores and log in %APPDATA%\Tavirel stay.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# Each package's own name (dist/windows/package-names.cmake, read by cpack).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/dist/windows/package-names.cmake)
include(CPack)
