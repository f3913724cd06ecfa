# Hot-key model and settings, against the prefix's real registry and keyboard layout.
zindral_test(model_tests SOURCES ModelTest.cpp KeyNamesTest.cpp LIBS zindral_core zindral_test_heap GTest::gtest_main)
zindral_test(settings_tests SOURCES SettingsTest.cpp SettingsFuzzTest.cpp
             LIBS zindral_core zindral_test_heap zindral_e2e GTest::gtest_main SERIAL TIMEOUT 600)
