# The do-nothing program that Zindral's start-up time is compared with
# (bench/run.sh).
add_executable(startup_baseline ${CMAKE_CURRENT_LIST_DIR}/Baseline.cpp
  $<TARGET_OBJECTS:zindral_startup>)
target_link_libraries(startup_baseline PRIVATE zindral_flags)
zindral_program(startup_baseline user32 gdi32 advapi32 shell32 comdlg32 comctl32)

# The hot-key launch baseline of bench/run.sh, and the program that both it
# and Zindral start.
add_executable(hotkey_baseline ${CMAKE_CURRENT_LIST_DIR}/HotKeyBaseline.cpp
  $<TARGET_OBJECTS:zindral_startup>)
target_link_libraries(hotkey_baseline PRIVATE zindral_flags)
zindral_program(hotkey_baseline user32 shell32 ole32)
add_executable(launch_probe ${CMAKE_CURRENT_LIST_DIR}/LaunchProbe.cpp
  $<TARGET_OBJECTS:zindral_startup>)
target_link_libraries(launch_probe PRIVATE zindral_flags)
zindral_program(launch_probe)
