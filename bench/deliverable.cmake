# The do-nothing program that Zindral's start-up time is compared with
# (bench/run.sh).
add_executable(startup_baseline ${CMAKE_CURRENT_LIST_DIR}/Baseline.cpp
  $<TARGET_OBJECTS:zindral_startup>)
target_link_libraries(startup_baseline PRIVATE zindral_flags)
zindral_program(startup_baseline user32 gdi32 advapi32 shell32 comdlg32 comctl32)
