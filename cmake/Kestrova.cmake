# One library per folder of src/host and src/design (and src/app). Sources are globbed so that a new
# file needs no edit here; a folder without sources yet is an interface library, so that its
# dependants still link. A library's include root is its wing's folder: a host library sees only
# host headers, a design library gets host/ through the host libraries it links.
function(kestrova_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  set(target kestrova_${name})
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  get_filename_component(include_root ${CMAKE_CURRENT_SOURCE_DIR} DIRECTORY)
  set(has_code FALSE)
  foreach(file IN LISTS sources)
    if(file MATCHES "\\.cpp$")
      set(has_code TRUE)
    endif()
  endforeach()
  if(has_code)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${include_root})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${include_root})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
  add_library(kestrova::${name} ALIAS ${target})
endfunction()

# One executable per test source; it links the library of the folder it tests.
function(kestrova_tests folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support_*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/support_*.h)
  foreach(test IN LISTS tests)
    get_filename_component(stem ${test} NAME_WE)
    set(target ${folder}_${stem})
    add_executable(${target} ${test} ${helpers})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_link_libraries(${target} PRIVATE kestrova::${folder} kestrova_testsupport ${ARG_DEPS}
                          GTest::gmock Qt6::Test)
    target_compile_definitions(${target} PRIVATE
      KESTROVA_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures"
      KESTROVA_TEST_OUTPUT="${CMAKE_BINARY_DIR}/test-output")
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1"
      TIMEOUT 300)
  endforeach()
endfunction()
