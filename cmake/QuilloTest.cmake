# quillo_add_test(NAME SOURCES a.cpp ... LIBS lib ...)
# Every test runs headless; each Qt Test executable is one ctest entry.
# A Windows build made on Linux runs its tests under Wine (tests/wine/).
function(quillo_add_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE quillo_options quillo_testsupport Qt6::Test ${T_LIBS})
    quillo_register_test(${name} $<TARGET_FILE:${name}>)
endfunction()

# quillo_register_test(NAME PROGRAM ARGS...): a ctest entry with the headless
# environment; under Wine through tests/wine/run.sh.
function(quillo_register_test name program)
    set(env "LC_ALL=C.UTF-8;LANG=C.UTF-8")
    if(WIN32 AND CMAKE_CROSSCOMPILING)
        # The windows platform on the Xvfb display the runner provides: with
        # offscreen, a JPEG decode hung under Wine.
        add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/run.sh ${program} ${ARGN})
        list(APPEND env "QT_QPA_PLATFORM=windows")
    else()
        add_test(NAME ${name} COMMAND ${program} ${ARGN})
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    if(QUILLO_TSAN)
        list(APPEND env "TSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/tsan.supp")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
