# dravik: its number reading on its own, and the real program resizing the
# foreground window of another process inside the Wine virtual desktop.
zindral_test(dravik_read_number SOURCES ReadNumberTest.cpp LIBS zindral_flags GTest::gtest_main)

zindral_test(dravik_e2e SOURCES DravikTest.cpp LIBS zindral_flags user32 GTest::gtest_main SERIAL TIMEOUT 240)
add_dependencies(dravik_e2e dravik)
target_compile_definitions(dravik_e2e PRIVATE
  DRAVIK_LINUX_PATH="$<TARGET_FILE:dravik>")
