# Zindral's launcher: the start-up's command-line tail, the entry function
# and the tray in-process, and the real programs end to end.
zindral_test(launcher_tail
  SOURCES CommandLineTest.cpp ${PROJECT_SOURCE_DIR}/launcher/CommandLine.cpp
  LIBS zindral_flags GTest::gtest_main)

# The end-to-end driver, shared by every test that works the real programs.
add_library(zindral_e2e STATIC e2e/Driver.cpp TestRegistry.cpp)
target_include_directories(zindral_e2e PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(zindral_e2e PRIVATE -Wall -Wextra -Werror -Wno-missing-field-initializers)
target_compile_definitions(zindral_e2e PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX STRICT)
target_link_libraries(zindral_e2e PUBLIC user32 advapi32 shell32)
string(REPLACE "/" "\\\\" zindral_bin "Z:${CMAKE_BINARY_DIR}/bin")
target_compile_definitions(zindral_e2e PRIVATE
  ZINDRAL_EXE_PATH="${zindral_bin}\\\\zindral.exe"
  DRAVIK_EXE_PATH="${zindral_bin}\\\\dravik.exe")

# The entry function and the tray functions inside this process.
zindral_test(launcher_unit
  SOURCES LauncherStartTest.cpp TrayTest.cpp ${PROJECT_SOURCE_DIR}/launcher/Zindral.cpp
  LIBS zindral_app zindral_e2e GTest::gtest_main SERIAL TIMEOUT 120)

zindral_test(launcher_e2e SOURCES LauncherEndToEnd.cpp
  LIBS zindral_e2e GTest::gtest_main SERIAL TIMEOUT 600)
add_dependencies(launcher_e2e zindral dravik)
