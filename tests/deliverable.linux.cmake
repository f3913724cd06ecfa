# Checks of the real 32-bit deliverable.
if(ZINDRAL_64)
  return()
endif()

# The deliverable zindral.exe with all its resources: size, imports, flags.
add_test(NAME zindral_binary
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-program.sh ${ZINDRAL_OBJDUMP} $<TARGET_FILE:zindral>
          23040 "ADVAPI32.DLL COMDLG32.DLL GDI32.DLL KERNEL32.DLL OLE32.DLL SHELL32.DLL USER32.DLL"
          resources)

# The smoke test runs it through 32-bit Wine under qemu: one slow scenario.
# Its driver is a 64-bit program, so it runs at native speed in the mixed
# prefix; this tree has only the 32-bit compiler, so call the other.
find_program(ZINDRAL_X64_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
if(NOT ZINDRAL_X64_CXX)
  # CI is the one place where the shipped programs must run.
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "x86_64-w64-mingw32-g++ not found: CI=true needs the 32-bit smoke test")
  endif()
  message(WARNING "x86_64-w64-mingw32-g++ not found: no smoke test of the 32-bit programs")
  return()
endif()

# It works the programs with the end-to-end tests' driver; it starts them by
# the path it is given, so the build tree's own paths stay empty.
set(smoke_driver ${CMAKE_BINARY_DIR}/tests/smoke-driver.exe)
set(smoke_sources SmokeDriver.cpp e2e/Driver.cpp TestRegistry.cpp)
list(TRANSFORM smoke_sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
add_custom_command(OUTPUT ${smoke_driver}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/tests
  COMMAND ${ZINDRAL_X64_CXX} -Os -s -static -Wall -Wextra -Werror
          -Wno-missing-field-initializers -I${PROJECT_SOURCE_DIR}
          -DWIN32_LEAN_AND_MEAN -DNOMINMAX -DSTRICT
          -DZINDRAL_EXE_PATH=\"\" -DDRAVIK_EXE_PATH=\"\"
          -o ${smoke_driver} ${smoke_sources} -luser32 -ladvapi32 -lshell32
  DEPENDS ${smoke_sources} ${CMAKE_CURRENT_SOURCE_DIR}/e2e/Driver.h
          ${CMAKE_CURRENT_SOURCE_DIR}/TestRegistry.h
  COMMENT "Building the 64-bit driver of the 32-bit smoke test"
  VERBATIM)
add_custom_target(smoke_driver ALL DEPENDS ${smoke_driver})

# Its prefix, desktop and Xvfb are its own, so it runs beside the in-process
# cases.
add_test(NAME deliverable_i686_smoke
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/i686-smoke.sh ${PROJECT_SOURCE_DIR}
          ${CMAKE_BINARY_DIR}/wine32-smoke $<TARGET_FILE:zindral> $<TARGET_FILE:dravik>
          ${smoke_driver})
# Emulated process starts are slow on a loaded machine, and the first run on
# a machine makes the cached template prefix as well.
set_tests_properties(deliverable_i686_smoke PROPERTIES
  TIMEOUT 2400 SKIP_RETURN_CODE 77)

