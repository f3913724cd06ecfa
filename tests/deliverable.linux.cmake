# Checks of the real 32-bit deliverable.
if(ZINDRAL_64)
  return()
endif()

# The deliverable zindral.exe with all its resources: size, imports, flags.
add_test(NAME zindral_binary
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-program.sh ${ZINDRAL_OBJDUMP} $<TARGET_FILE:zindral>
          21504 "ADVAPI32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL OLE32.DLL SHELL32.DLL USER32.DLL"
          resources)

# The smoke test runs it through 32-bit Wine under qemu: one slow scenario.
# Its driver is a 64-bit program, so it runs at native speed in the mixed
# prefix; this tree has only the 32-bit compiler, so call the other.
find_program(ZINDRAL_X64_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
if(NOT ZINDRAL_X64_CXX)
  message(WARNING "x86_64-w64-mingw32-g++ not found: no smoke test of the 32-bit programs")
  return()
endif()

set(smoke_driver ${CMAKE_BINARY_DIR}/tests/smoke-driver.exe)
add_custom_command(OUTPUT ${smoke_driver}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests
  COMMAND ${ZINDRAL_X64_CXX} -Os -s -static -Wall -Wextra -Werror
          -Wno-missing-field-initializers
          -o ${smoke_driver} ${CMAKE_CURRENT_SOURCE_DIR}/SmokeDriver.cpp
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/SmokeDriver.cpp
  COMMENT "Building the 64-bit driver of the 32-bit smoke test")
add_custom_target(smoke_driver ALL DEPENDS ${smoke_driver})

add_test(NAME deliverable_i686_smoke
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/i686-smoke.sh ${PROJECT_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/wine32 $<TARGET_FILE:zindral> $<TARGET_FILE:dravik>
          ${smoke_driver})
# Each emulated process start costs about a minute of CPU, and the first run
# on a machine makes the cached template prefix as well.
set_tests_properties(deliverable_i686_smoke PROPERTIES
  TIMEOUT 2400 RUN_SERIAL TRUE SKIP_RETURN_CODE 77)

