# Build helpers shared by every library, test and benchmark folder.

# keyvet_library(NAME [DEPS ...]): one static library from every .cpp in the calling folder
# (and its sub-folders), public headers beside the sources, included as "<lib>/<Header>.h".
function(keyvet_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# keyvet_test(LIB [DEPS ...] [LABELS ...]): one GoogleTest program from tests/<LIB>/*.cpp.
function(keyvet_test lib)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${lib}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(target test_${lib})
  string(REPLACE "/" "_" target ${target})
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
  set_tests_properties(${target} PROPERTIES
    LABELS "unit;${ARG_LABELS}"
    ENVIRONMENT "KEYVET_SOURCE_DIR=${PROJECT_SOURCE_DIR};KEYVET_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()
