# dravik: its number reading and its sizing in this process, on windows of
# its own (shown on the shared desktop, hence serial), and the real program
# resizing the foreground window of another process inside the Wine virtual
# desktop.
zindral_test(dravik_in_process SOURCES ReadNumberTest.cpp WindowSizeTest.cpp
  LIBS zindral_flags zindral_e2e GTest::gtest_main SERIAL)

zindral_test(dravik_e2e SOURCES DravikTest.cpp LIBS zindral_e2e GTest::gtest_main SERIAL TIMEOUT 240)
add_dependencies(dravik_e2e dravik)
