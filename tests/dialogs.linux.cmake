# The list view of the configuration dialog exists on a fresh Windows only
# once the common controls are initialised: Zindral must import the call.
# (Wine registers them anyway, so no test run under Wine would notice.)
if(TARGET zindral)
  add_test(NAME zindral_imports_common_controls
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check-import.sh ${ZINDRAL_OBJDUMP}
            $<TARGET_FILE:zindral> comctl32.dll "InitCommonControls|InitCommonControlsEx")
endif()
