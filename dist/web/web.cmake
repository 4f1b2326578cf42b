# web.cmake: the browser build, included by CMakeLists.txt when the game is built with Emscripten
# (tools/web.sh): the page in site/ (index.html, its script, WebAssembly and data, the icons) and
# its zip beside it.

set(WEB_DIR ${CMAKE_CURRENT_SOURCE_DIR}/dist/web)
set(SITE_DIR ${CMAKE_BINARY_DIR}/site)
# Emscripten's run-time checks and the functions' names in its messages, for finding a fault.
option(TAVIREL_WEB_CHECKS "Build the page with Emscripten's run-time checks" OFF)

add_executable(tavirel app/main.cpp)
target_link_libraries(tavirel PRIVATE tavirel_game)
set_target_properties(tavirel PROPERTIES OUTPUT_NAME index SUFFIX .html RUNTIME_OUTPUT_DIRECTORY ${SITE_DIR})
file(GLOB MEDIA_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/media/*)
# What every page of the game links with: OpenGL 1.1's immediate mode over WebGL, whose context
# the page makes (dist/web/page.js); the kept files' folder in IndexedDB; the page, its script and
# what the game changes of Emscripten's SDL (Debian's HTML minifier fails on the page); media/ as
# the page's data, the pictures decoded by the browser while it arrives.
set(WEB_LINK_OPTIONS
  -sLEGACY_GL_EMULATION=1 -sGL_PREINITIALIZED_CONTEXT=1
  -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
  -lidbfs.js
  --shell-file ${WEB_DIR}/index.html --pre-js ${WEB_DIR}/page.js --js-library ${WEB_DIR}/sdl.js -sMINIFY_HTML=0
  "SHELL:--preload-file ${CMAKE_CURRENT_SOURCE_DIR}/media@/media" --use-preload-plugins)
# The page's calls into the game.
set(WEB_PAGE_CALLS _main,_malloc,_free,_mergeStoredTable,_pageClosed)
# And the keys as the game reads them (gameKey, readKeyTable), for the browser's check of them
# (tests/web/keys.py).
target_link_options(tavirel PRIVATE ${WEB_LINK_OPTIONS}
  -sEXPORTED_FUNCTIONS=${WEB_PAGE_CALLS},__Z7gameKeyi,__Z12readKeyTablePh)
if(TAVIREL_WEB_CHECKS)
  target_link_options(tavirel PRIVATE -sASSERTIONS=1 --profiling-funcs)
endif()
set_property(TARGET tavirel APPEND PROPERTY LINK_DEPENDS
  ${WEB_DIR}/index.html ${WEB_DIR}/page.js ${WEB_DIR}/sdl.js ${MEDIA_FILES})

# The icons beside the page, and everything it loads in one zip whose root is the page's folder.
set(WEB_ZIP ${CMAKE_BINARY_DIR}/tavirel-${PROJECT_VERSION}-web.zip)
set(SITE_FILES index.html index.js index.wasm index.data tavirel-48.png tavirel-128.png)
add_custom_command(OUTPUT ${WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/48/tavirel.png ${SITE_DIR}/tavirel-48.png
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/128/tavirel.png ${SITE_DIR}/tavirel-128.png
  COMMAND ${CMAKE_COMMAND} -E rm -f ${WEB_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${WEB_ZIP} --format=zip ${SITE_FILES}
  WORKING_DIRECTORY ${SITE_DIR}
  DEPENDS tavirel ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/48/tavirel.png ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/128/tavirel.png
  VERBATIM)
add_custom_target(web_zip ALL DEPENDS ${WEB_ZIP})

# The browser's picture check (tests/web/pictures.py): a page of its own in checks/ that draws
# every screen in the known state of its reference picture (tests/picture_cases.cpp), on the same
# page and script as the game's. Built by tools/test-web.sh, not for players.
set(CHECKS_DIR ${CMAKE_BINARY_DIR}/checks)
add_executable(tavirel_pictures EXCLUDE_FROM_ALL tests/web/picture_page_web.cpp tests/picture_cases.cpp
  tests/screen_helpers.cpp)
target_include_directories(tavirel_pictures PRIVATE tests)
target_compile_definitions(tavirel_pictures PRIVATE TAVIREL_SOURCE_DIR="")
target_link_libraries(tavirel_pictures PRIVATE tavirel_game)
set_target_properties(tavirel_pictures PROPERTIES OUTPUT_NAME pictures SUFFIX .html RUNTIME_OUTPUT_DIRECTORY ${CHECKS_DIR})
target_link_options(tavirel_pictures PRIVATE ${WEB_LINK_OPTIONS}
  -sEXPORTED_FUNCTIONS=${WEB_PAGE_CALLS},_pictureCaseCount,_pictureCaseName,_drawPictureCase
  -sEXPORTED_RUNTIME_METHODS=UTF8ToString)
set_property(TARGET tavirel_pictures APPEND PROPERTY LINK_DEPENDS
  ${WEB_DIR}/index.html ${WEB_DIR}/page.js ${WEB_DIR}/sdl.js ${MEDIA_FILES})
add_custom_target(web_checks
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/48/tavirel.png ${CHECKS_DIR}/tavirel-48.png
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/dist/icons/128/tavirel.png ${CHECKS_DIR}/tavirel-128.png
  DEPENDS tavirel_pictures VERBATIM)
