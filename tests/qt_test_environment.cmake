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

# gimbal_test_in_hard_conditions(name command...): adds the test `name`, and the same command
# twice more in the conditions that hide faults of timing and of number formatting:
# `name_qt_loop` under Qt's own event loop for Unix instead of GLib's (the two deliver queued
# work in different orders), and `name_de_DE` in a German locale, whose decimal comma the C
# library then uses (tools/install-deps.sh generates it).
function(gimbal_test_in_hard_conditions name)
    add_test(NAME ${name} COMMAND ${ARGN})
    add_test(NAME ${name}_qt_loop COMMAND ${ARGN})
    add_test(NAME ${name}_de_DE COMMAND ${ARGN})
    gimbal_qt_test_environment(${name} ${name}_qt_loop ${name}_de_DE)
    set_property(TEST ${name}_qt_loop APPEND PROPERTY ENVIRONMENT QT_NO_GLIB=1)
    set_property(TEST ${name}_de_DE APPEND PROPERTY ENVIRONMENT LC_ALL=de_DE.UTF-8)
endfunction()
