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

# gimbal_test_copies(NAME name COMMAND command... ALSO condition...): adds copies of the Qt test
# `name`, run as above, one for each condition named, in which faults hide that the normal run
# does not show:
#   qt_loop  `name_qt_loop`, under Qt's own event loop for Unix instead of GLib's (the two deliver
#            queued and timed work in different orders; Windows has a third);
#   de_DE    `name_de_DE`, in a German locale, whose decimal comma the C library then uses
#            (tools/install-deps.sh generates the locale).
function(gimbal_test_copies)
    cmake_parse_arguments(PARSE_ARGV 0 test "" NAME "COMMAND;ALSO")
    foreach(condition ${test_ALSO})
        if(condition STREQUAL "qt_loop")
            set(setting QT_NO_GLIB=1)
        elseif(condition STREQUAL "de_DE")
            set(setting LC_ALL=de_DE.UTF-8)
        else()
            message(FATAL_ERROR "gimbal_test_copies: no condition ${condition}")
        endif()
        add_test(NAME ${test_NAME}_${condition} COMMAND ${test_COMMAND})
        gimbal_qt_test_environment(${test_NAME}_${condition})
        set_property(TEST ${test_NAME}_${condition} APPEND PROPERTY ENVIRONMENT ${setting})
        if(condition STREQUAL "de_DE")
            set_property(TEST ${test_NAME}_${condition} PROPERTY FIXTURES_REQUIRED german_locale)
        endif()
    endforeach()
endfunction()

# Without the German locale the C library would stay in "C" and the German copies pass while
# proving nothing; this check fails first, and they are not run.
add_test(NAME locale_de_DE COMMAND sh -c "locale -a | grep -ix 'de_DE.utf-\\?8'")
set_tests_properties(locale_de_DE PROPERTIES FIXTURES_SETUP german_locale)
