# The unit tests of the Windows build: GoogleTest from Debian's sources
# (/usr/src/googletest, the googletest package) built with the same
# toolchain, the tool libraries the tests write their fixtures with, and the
# test programs of tests/. CTest runs them under Wine, the preset's
# CMAKE_CROSSCOMPILING_EMULATOR; their tests are listed when CTest runs, so
# building needs no Wine. Tests that read the default archive use
# vivur.pak beside vivur.exe, the Linux build's (scripts/windows copies it).
option(VIVUR_WINDOWS_TESTS "Build the unit tests (CTest runs them under Wine)" ON)
if(NOT VIVUR_WINDOWS_TESTS)
  return()
endif()

# What cannot apply to the Windows build, each with its reason; the only
# place where tests are left out (tests/CMakeLists.txt reads it).
set(VIVUR_TESTS_LEFT_OUT
  # The content generator is a build tool of the Linux build: the Windows
  # build ships the archive the Linux build made, because the generator's
  # maths from the C runtime may differ on Windows.
  content
  # The shell end-to-end scripts drive the native programs through bash;
  # tests/windows/windows_test.sh runs those that apply on vivur.exe.
  e2e
  # Windows has no termination signal; a stop request comes from the
  # console's handler (Ctrl+C, closing the console) instead.
  display:HeadlessDisplay.TerminationSignalEndsWithCodeOne
  # Needs ffmpeg.exe and ffprobe.exe, and Debian has no Windows build of them.
  runtime:Capture.VideoFileHoldsPictureAndSoundOfTheSameLength
)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# It names its libraries GTest::gtest and GTest::gtest_main, as the installed package does.
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The tools' libraries name the JPEG library as the native build finds it.
add_library(JPEG::JPEG INTERFACE IMPORTED)
set_target_properties(JPEG::JPEG PROPERTIES
  INTERFACE_LINK_LIBRARIES ${VIVUR_WINDOWS_DEPS}/lib/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${VIVUR_WINDOWS_DEPS}/include)
foreach(tool jpeg pak s3m threeds inspect)
  add_subdirectory(tools/${tool} EXCLUDE_FROM_ALL)
endforeach()

set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
enable_testing()
add_subdirectory(tests)
# The test child reads the wide command line, as vivur.exe does.
target_link_options(vivur-test-child PRIVATE -municode)
