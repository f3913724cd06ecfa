# The dialogs, shown in-process: the test program carries Zindral's resources
# so that the dialogs find their templates in the program's own module.
zindral_test(dialog_tests
  SOURCES DialogTestMain.cpp DialogDriver.cpp
          DialogLayoutTest.cpp HotKeyDlgTest.cpp ConfigDlgTest.cpp DialogReliabilityTest.cpp
          ${PROJECT_SOURCE_DIR}/resources/zindral.rc
  LIBS zindral_app zindral_test_heap zindral_e2e
  SERIAL TIMEOUT 600)
target_include_directories(dialog_tests PRIVATE ${PROJECT_SOURCE_DIR}/resources)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/zindral.rc APPEND PROPERTY
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/zindral.ico)

# The configuration dialog of the real zindral.exe, with real input.
zindral_test(dialogs_e2e SOURCES DialogsEndToEnd.cpp
  LIBS zindral_e2e GTest::gtest_main SERIAL TIMEOUT 300)
add_dependencies(dialogs_e2e zindral)
