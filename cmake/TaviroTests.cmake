# taviro_add_tests(NAME SOURCES... LIBRARIES...): one GoogleTest executable for a subsystem,
# built from the *_test.cpp files that sit beside its code.
function(taviro_add_tests name)
    if(NOT TAVIRO_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} taviro_test_support GTest::gtest_main GTest::gmock
                                          taviro_warnings)
    gtest_discover_tests(${name} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                         PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1"
                         DISCOVERY_TIMEOUT 60)
endfunction()
