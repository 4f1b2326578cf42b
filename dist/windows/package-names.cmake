# package-names.cmake: what cpack calls each Windows package: the zip and the installer.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "tavirel-${CPACK_PACKAGE_VERSION}-setup")
else()
  set(CPACK_PACKAGE_FILE_NAME "tavirel-${CPACK_PACKAGE_VERSION}-windows-x64")
endif()
