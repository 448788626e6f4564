# The browser build (the web preset, through emcmake): the production's code
# compiled to WebAssembly with the libraries scripts/web-deps builds, linked
# into vivur.js and vivur.wasm, and the site folder with the page around them.
set(VIVUR_WEB_DEPS "" CACHE PATH "Prefix of the WebAssembly libraries (printed by scripts/web-deps)")
set(VIVUR_WEB_PAK "" CACHE FILEPATH "The archive the site serves (the native build's vivur.pak)")
if(NOT EXISTS "${VIVUR_WEB_DEPS}/lib/libopenmpt.a")
  message(FATAL_ERROR "VIVUR_WEB_DEPS must name the prefix scripts/web-deps prints (use scripts/web)")
endif()

add_library(vivur_core STATIC ${VIVUR_CORE_SOURCES})
target_include_directories(vivur_core PUBLIC src ${VIVUR_WEB_DEPS}/include)
target_compile_definitions(vivur_core PRIVATE
  VIVUR_VERSION="${PROJECT_VERSION}"
  VIVUR_WEBSITE_URL="${VIVUR_WEBSITE_URL}")
target_link_libraries(vivur_core PUBLIC
  ${VIVUR_WEB_DEPS}/lib/libopenmpt.a ${VIVUR_WEB_DEPS}/lib/libjpeg.a
  ${VIVUR_WEB_DEPS}/lib/libpng16.a ${VIVUR_WEB_DEPS}/lib/libz.a)

add_executable(vivur src/vivur_web.cpp)
target_link_libraries(vivur PRIVATE vivur_core)
set_target_properties(vivur PROPERTIES SUFFIX ".js")
# The production's loops block: Asyncify lets them hand control back to the
# page at the present step and in sleeps. Only the functions that reach those
# waits through a function pointer (the window's poll and procedure, the
# release steps) are named, with the callers they may be inlined into;
# everything else stays uninstrumented (smaller and about twice as fast).
set(VIVUR_ASYNC_PATHS
  "window_peek*" "window_dispatch*" "pump_messages*" "present_frame*"
  "release_all*" "report_error*" "shutdown*")
list(JOIN VIVUR_ASYNC_PATHS "','" VIVUR_ASYNC_LIST)
target_link_options(vivur PRIVATE
  -fexceptions
  -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT=1 "-sASYNCIFY_ADD=['${VIVUR_ASYNC_LIST}']"
  -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
  -sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createVivur -sEXIT_RUNTIME=1
  -sEXPORTED_FUNCTIONS=_main
  "-sEXPORTED_RUNTIME_METHODS=['FS','HEAPU8','HEAP16']")

# The site: the page (carrying the project's version), its script, the
# program and the archive.
set(VIVUR_SITE ${CMAKE_BINARY_DIR}/site)
set(VIVUR_PAGE ${CMAKE_BINARY_DIR}/index.html)
configure_file(${CMAKE_SOURCE_DIR}/src/platform/web/index.html ${VIVUR_PAGE} @ONLY)
add_custom_command(TARGET vivur POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VIVUR_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${CMAKE_BINARY_DIR}/vivur.js ${CMAKE_BINARY_DIR}/vivur.wasm ${VIVUR_SITE}/
  COMMENT "Writing the site folder")
add_custom_target(vivur_site ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VIVUR_SITE}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
    ${VIVUR_PAGE} ${CMAKE_SOURCE_DIR}/src/platform/web/vivur-page.js ${VIVUR_SITE}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VIVUR_WEB_PAK} ${VIVUR_SITE}/vivur.pak
  DEPENDS vivur ${VIVUR_PAGE} ${CMAKE_SOURCE_DIR}/src/platform/web/vivur-page.js
  VERBATIM)

# vivur.html beside the site: the same page with the program, the archive and
# the page's script inside it, for opening from disk.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/vivur.html
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/src/platform/web/single_file.py
    ${VIVUR_PAGE} ${CMAKE_SOURCE_DIR}/src/platform/web/vivur-page.js
    ${CMAKE_BINARY_DIR}/vivur.js ${CMAKE_BINARY_DIR}/vivur.wasm ${VIVUR_WEB_PAK} ${CMAKE_BINARY_DIR}/vivur.html
  DEPENDS vivur ${CMAKE_SOURCE_DIR}/src/platform/web/single_file.py ${VIVUR_PAGE}
    ${CMAKE_SOURCE_DIR}/src/platform/web/vivur-page.js ${VIVUR_WEB_PAK}
  COMMENT "Writing vivur.html"
  VERBATIM)
add_custom_target(vivur_single_file ALL DEPENDS ${CMAKE_BINARY_DIR}/vivur.html)
