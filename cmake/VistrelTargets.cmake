# vistrel_test(<name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable, built into the output folder and registered with CTest.
function(vistrel_test name)
  if(NOT VISTREL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY "${VISTREL_OUT}"
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# vistrel_bench(<name> SOURCES <files...> LIBS <targets...>)
# One Google Benchmark executable (bench_<name>), built but never run by the tests.
function(vistrel_bench name)
  if(NOT VISTREL_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${B_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
