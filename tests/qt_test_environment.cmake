# gimbal_qt_test_environment(test...): runs the given Qt tests headless and, in a sanitized
# build, with full allocation stacks so that leaks inside Qt's own plugins can be suppressed
# precisely (tests/lsan-qt.supp) while leaks of this project's code still fail the test.
function(gimbal_qt_test_environment)
    set(environment QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software)
    if(GIMBAL_SANITIZE)
        list(APPEND environment ASAN_OPTIONS=fast_unwind_on_malloc=0
            LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan-qt.supp)
    endif()
    set_tests_properties(${ARGN} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
