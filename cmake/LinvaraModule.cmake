# linvara_add_module(NAME SOURCES <files...> DEPS <targets...>)
# Builds the listed sources (relative to src/) into the static library linvara_NAME.
function(linvara_add_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  set(target linvara_${name})
  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  add_library(${target} STATIC ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC linvara_flags ${ARG_DEPS})
endfunction()

# linvara_add_test_suite(NAME DEPS <targets...>)
# Builds every .cpp in tests/NAME into linvara_NAME_tests and registers its tests with CTest.
function(linvara_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target linvara_${name}_tests)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE linvara_test_support ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "LINVARA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
