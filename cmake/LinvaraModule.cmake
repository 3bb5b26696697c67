# linvara_add_module(NAME DEPS <targets...>)
# Builds every .cpp in src/NAME into the static library linvara_NAME.
# A module without sources yet becomes an interface library, so dependents still link.
function(linvara_add_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  set(target linvara_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC linvara_flags ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE linvara_flags ${ARG_DEPS})
  endif()
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
