# One static library per source folder; its sources are every .cpp/.h of the folder,
# so a new unit needs no edit of the build files.
function(velkora_library name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${_src})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# One test program per test folder, discovered by CTest when the tests run (not at
# build time, so a build without a display never starts a test binary).
function(velkora_tests name)
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${_src})
  target_link_libraries(${name} PRIVATE velkora_testmain ${ARGN})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELKORA_BIN_DIR=${VELKORA_BIN_DIR}")
endfunction()

# The tests of a test program that turn numbers and dates into text and back, once
# more under the C library's plain locale: the suite itself runs under the users'
# German one (tools/setup.sh), and neither may change a stored value.
function(velkora_tests_unter_c name filter)
  add_test(NAME ${name}_unter_C COMMAND ${name} --gtest_filter=${filter})
  set_tests_properties(${name}_unter_C PROPERTIES
    ENVIRONMENT "LC_ALL=C;QT_QPA_PLATFORM=offscreen;VELKORA_BIN_DIR=${VELKORA_BIN_DIR}")
endfunction()
