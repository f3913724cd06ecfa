# dravik: its number reading and its sizing in this process, on windows of
# its own (shown on the shared desktop, hence serial), and the real program
# resizing the foreground window of another process inside the Wine virtual
# desktop.
zindral_test(dravik_in_process SOURCES ReadNumberTest.cpp WindowSizeTest.cpp
  LIBS zindral_flags user32 GTest::gtest_main SERIAL)

zindral_test(dravik_e2e SOURCES DravikTest.cpp LIBS zindral_flags user32 GTest::gtest_main SERIAL TIMEOUT 240)
add_dependencies(dravik_e2e dravik)
target_compile_definitions(dravik_e2e PRIVATE
  DRAVIK_LINUX_PATH="$<TARGET_FILE:dravik>")
