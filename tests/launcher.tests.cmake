# Zindral's launcher: the start-up's command-line tail, the entry function
# and the tray in-process, and the real programs end to end.
zindral_test(launcher_tail
  SOURCES CommandLineTest.cpp ${PROJECT_SOURCE_DIR}/launcher/CommandLine.cpp
  LIBS zindral_flags GTest::gtest_main)

# The entry function and the tray functions inside this process.
zindral_test(launcher_unit
  SOURCES LauncherStartTest.cpp TrayTest.cpp ${PROJECT_SOURCE_DIR}/launcher/Zindral.cpp
    ${PROJECT_SOURCE_DIR}/launcher/Startup.cpp ${PROJECT_SOURCE_DIR}/launcher/CommandLine.cpp
  LIBS zindral_app zindral_test_heap zindral_e2e GTest::gtest_main SERIAL TIMEOUT 120)

zindral_test(launcher_e2e SOURCES LauncherEndToEnd.cpp
  LIBS zindral_e2e GTest::gtest_main SERIAL TIMEOUT 600)
add_dependencies(launcher_e2e zindral dravik planted_comctl32 hotkey_holder)

# Another program's hot key, held the way the Windows taskbar holds Win+digit.
add_executable(hotkey_holder e2e/HotKeyHolder.cpp)
target_compile_options(hotkey_holder PRIVATE -Wall -Wextra -Werror)
target_link_options(hotkey_holder PRIVATE -static)
set_target_properties(hotkey_holder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# A comctl32.dll of the tests' own, for a test to put beside a copy of zindral.exe.
add_library(planted_comctl32 MODULE e2e/PlantedComctl32.cpp)
set_target_properties(planted_comctl32 PROPERTIES OUTPUT_NAME comctl32 PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/planted)
target_compile_options(planted_comctl32 PRIVATE -Wall -Wextra -Werror)
target_link_options(planted_comctl32 PRIVATE -static -s)
string(REPLACE "/" "\\\\" planted "Z:${CMAKE_BINARY_DIR}/tests/planted/comctl32.dll")
target_compile_definitions(launcher_e2e PRIVATE PLANTED_COMCTL32="${planted}")
