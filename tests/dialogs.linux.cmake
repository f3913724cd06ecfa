# The list view of the configuration dialog exists on a fresh Windows only
# once the common controls are initialised. They are no known DLL, so Zindral
# must take the call at run time from the system folder's copy, never from a
# comctl32.dll beside it. (Wine registers the classes anyway, so no test run
# under Wine would notice a missing call.)
if(TARGET zindral)
  add_test(NAME zindral_imports_common_controls
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-import.sh --at-run-time ${ZINDRAL_OBJDUMP}
            $<TARGET_FILE:zindral> comctl32.dll InitCommonControlsEx)
endif()
