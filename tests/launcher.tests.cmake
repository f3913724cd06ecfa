# Zindral's launcher: the start-up's command-line tail, the entry function
# and the tray in-process, and the real programs end to end.
zindral_test(launcher_tail
  SOURCES CommandLineTest.cpp ${PROJECT_SOURCE_DIR}/launcher/CommandLine.cpp
  LIBS zindral_flags GTest::gtest_main)

# The entry function and the tray functions inside this process.
zindral_test(launcher_unit
  SOURCES LauncherStartTest.cpp TrayTest.cpp ${PROJECT_SOURCE_DIR}/launcher/Zindral.cpp
  LIBS zindral_app zindral_test_heap zindral_e2e GTest::gtest_main SERIAL TIMEOUT 120)

zindral_test(launcher_e2e SOURCES LauncherEndToEnd.cpp
  LIBS zindral_e2e GTest::gtest_main SERIAL TIMEOUT 600)
add_dependencies(launcher_e2e zindral dravik)
