# The in-process test cases on the deliverable's own machine code: one i686
# program, so that the cases pay for one process start under emulation.
# Its own sources are built plainly; the code under test is the libraries
# that zindral.exe is made of, optimised at link time with the same options.
find_program(ZINDRAL_X64_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
if(NOT ZINDRAL_X64_CXX)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "x86_64-w64-mingw32-g++ not found: CI=true needs the 32-bit in-process tests")
  endif()
  message(WARNING "x86_64-w64-mingw32-g++ not found: no in-process tests of the 32-bit code")
  return()
endif()

# Sources that go into the programs themselves rather than into a library,
# built as the programs build them.
add_library(i686_program_code OBJECT
  ${PROJECT_SOURCE_DIR}/launcher/Zindral.cpp ${PROJECT_SOURCE_DIR}/launcher/CommandLine.cpp
  ${PROJECT_SOURCE_DIR}/launcher/Startup.cpp)
target_link_libraries(i686_program_code PUBLIC zindral_app)

add_executable(i686_tests
  DialogTestMain.cpp DialogDriver.cpp
  ModelTest.cpp KeyNamesTest.cpp SettingsTest.cpp SettingsFuzzTest.cpp
  DialogLayoutTest.cpp HotKeyDlgTest.cpp ConfigDlgTest.cpp DialogReliabilityTest.cpp
  AboutTest.cpp VersionTest.cpp
  LauncherStartTest.cpp TrayTest.cpp CommandLineTest.cpp
  $<TARGET_OBJECTS:i686_program_code>
  ${PROJECT_SOURCE_DIR}/resources/zindral.rc)
set_target_properties(i686_tests PROPERTIES ZINDRAL_TEST_PROGRAM ON
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_include_directories(i686_tests PRIVATE ${PROJECT_SOURCE_DIR}/resources)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/zindral.rc APPEND PROPERTY
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/hand.cur ${PROJECT_SOURCE_DIR}/resources/zindral.ico)
target_compile_options(i686_tests PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
target_compile_definitions(i686_tests PRIVATE ZINDRAL_I686_TESTS)
target_link_libraries(i686_tests PRIVATE zindral_app zindral_test_heap zindral_e2e version GTest::gtest)
# The linker takes an inline function that both a test and the libraries'
# link-time code define out of line (a dialog's implicit destructor) for two
# definitions: on this target it does not match the two kinds of duplicate.
# Either copy is the same function; the x86_64 twin links the same sources
# without this, so a true duplicate still fails there.
target_link_options(i686_tests PRIVATE -static ${ZINDRAL_SIZE_OPTIONS}
  -Wl,--allow-multiple-definition)
# The version test reads the deliverable's resources.
add_dependencies(i686_tests zindral)

# The About box's links open a recorder that stands in for the browser: a
# 64-bit program, so that it starts at native speed in the mixed prefix.
set(about_recorder ${CMAKE_BINARY_DIR}/tests/about_recorder.exe)
add_custom_command(OUTPUT ${about_recorder}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests
  COMMAND ${ZINDRAL_X64_CXX} -Os -s -static -mwindows -Wall -Wextra -Werror
          -o ${about_recorder} ${CMAKE_CURRENT_SOURCE_DIR}/AboutRecorder.cpp
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/AboutRecorder.cpp
  COMMENT "Building the 64-bit recorder of the About tests")
add_custom_target(about_recorder_x64 ALL DEPENDS ${about_recorder})
add_dependencies(i686_tests about_recorder_x64)

# A prefix, desktop and Xvfb of its own, beside the smoke test's.
add_test(NAME deliverable_i686_inprocess
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/i686-inprocess.sh ${PROJECT_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/wine32-inprocess $<TARGET_FILE:i686_tests>)
# One emulated process start and the dialogs' many windows.
set_tests_properties(deliverable_i686_inprocess PROPERTIES
  TIMEOUT 1800 SKIP_RETURN_CODE 77)
