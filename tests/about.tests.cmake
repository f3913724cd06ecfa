# The About box and its links, in-process with Zindral's own resources. The
# recorder stands in for the browser and the mail program.
add_executable(about_recorder WIN32 AboutRecorder.cpp)
target_link_options(about_recorder PRIVATE -static)
set_target_properties(about_recorder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The resources on their own: the test's warning options are not for windres.
add_library(about_resources OBJECT ${PROJECT_SOURCE_DIR}/resources/zindral.rc)
target_include_directories(about_resources PRIVATE ${PROJECT_SOURCE_DIR}/resources)
set_property(SOURCE ${PROJECT_SOURCE_DIR}/resources/zindral.rc APPEND PROPERTY
  OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/hand.cur ${PROJECT_SOURCE_DIR}/resources/zindral.ico)

# Real mouse and key input on the shared desktop: serial.
zindral_test(about_tests SOURCES AboutTest.cpp VersionTest.cpp
             DialogTestMain.cpp DialogDriver.cpp $<TARGET_OBJECTS:about_resources>
             LIBS zindral_app zindral_test_heap zindral_e2e version SERIAL TIMEOUT 300)
# The version test reads the real program's resources.
add_dependencies(about_tests about_recorder zindral)
