# The deliverable dravik.exe: size, imports and header flags.
if(NOT ZINDRAL_64)
  add_test(NAME dravik_binary
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-program.sh ${ZINDRAL_OBJDUMP}
            $<TARGET_FILE:dravik> 3072 "KERNEL32.DLL USER32.DLL" no-resources)
endif()
