# The libraries that go into the programs must not reference the C or C++
# runtime, nor need static constructors: checked on the deliverable's objects.
if(NOT ZINDRAL_64)
  add_test(NAME no_runtime_symbols
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-no-runtime.sh ${ZINDRAL_NM} pe-i386
            $<TARGET_FILE:zindral_core> $<TARGET_FILE:zindral_app> $<TARGET_OBJECTS:zindral_heap>
            $<TARGET_OBJECTS:zindral_startup>)
  set_tests_properties(no_runtime_symbols PROPERTIES COMMAND_EXPAND_LISTS TRUE)
endif()
