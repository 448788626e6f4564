# The Windows build (the windows preset, with windows.cmake as toolchain):
# the production's code cross-compiled with MinGW-w64 and linked statically
# with the libraries scripts/windows-deps builds, so vivur.exe needs no DLL
# but Windows' own. A windowed program (no console of its own), with the
# version information, manifest and icon in its resources.
set(VIVUR_WINDOWS_DEPS "" CACHE PATH "Prefix of the Windows libraries (printed by scripts/windows-deps)")
set(VIVUR_WINDOWS_ICON "" CACHE FILEPATH "The program's icon (vivur-content --icon writes it)")
if(NOT EXISTS "${VIVUR_WINDOWS_DEPS}/lib/libopenmpt.a")
  message(FATAL_ERROR "VIVUR_WINDOWS_DEPS must name the prefix scripts/windows-deps prints (use scripts/windows)")
endif()

set(VIVUR_WINDOWS_LIBS
  ${VIVUR_WINDOWS_DEPS}/lib/libSDL2.a ${VIVUR_WINDOWS_DEPS}/lib/libopenmpt.a
  ${VIVUR_WINDOWS_DEPS}/lib/libjpeg.a ${VIVUR_WINDOWS_DEPS}/lib/libpng16.a ${VIVUR_WINDOWS_DEPS}/lib/libz.a
  # What SDL's static library calls in Windows itself.
  setupapi winmm imm32 version ole32 oleaut32 gdi32 user32 shell32 advapi32 cfgmgr32 uuid)

add_library(vivur_core STATIC ${VIVUR_CORE_SOURCES})
target_include_directories(vivur_core PUBLIC src)
target_include_directories(vivur_core SYSTEM PUBLIC ${VIVUR_WINDOWS_DEPS}/include ${VIVUR_WINDOWS_DEPS}/include/SDL2)
target_compile_definitions(vivur_core PRIVATE
  VIVUR_VERSION="${PROJECT_VERSION}"
  VIVUR_WEBSITE_URL="${VIVUR_WEBSITE_URL}"
  SDL_MAIN_HANDLED UNICODE _UNICODE)
target_link_libraries(vivur_core PUBLIC ${VIVUR_WINDOWS_LIBS})
# Everything the compiler brings (libstdc++, libgcc, winpthread) inside the .exe.
target_link_options(vivur_core INTERFACE -static -static-libgcc -static-libstdc++)

# The resources: version information (the file version is what --version
# prints), the manifest (per-monitor DPI awareness, UTF-8 code page) and the icon.
set(VIVUR_ICON_LINE "")
if(VIVUR_WINDOWS_ICON)
  set(VIVUR_ICON_LINE "1 ICON \"${VIVUR_WINDOWS_ICON}\"")
endif()
configure_file(${CMAKE_SOURCE_DIR}/src/platform/windows/vivur.rc.in ${CMAKE_BINARY_DIR}/vivur.rc @ONLY)
add_executable(vivur WIN32 src/vivur_win.cpp ${CMAKE_BINARY_DIR}/vivur.rc)
target_link_libraries(vivur PRIVATE vivur_core)
# The entry takes the wide command line (wmain).
target_link_options(vivur PRIVATE -municode)
set_source_files_properties(${CMAKE_BINARY_DIR}/vivur.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/platform/windows/vivur.manifest;${VIVUR_WINDOWS_ICON}")

include(src/platform/windows/windows_tests.cmake)
