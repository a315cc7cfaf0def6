# dromvel_add_test(<name> [BOTH_ENGINES] SOURCES <files...> LIBS <targets...>)
# Builds one QtTest executable and registers it with ctest on the offscreen platform. BOTH_ENGINES registers it a
# second time as <name>_pg, whose databases live on the PostgreSQL test server (tests/support/testserver.h); it
# is reported as skipped when no server can be reached outside CI.
function(dromvel_add_test name)
    cmake_parse_arguments(ARG "BOTH_ENGINES" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    set(environment "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Europe/Budapest")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 600)
    if(ARG_BOTH_ENGINES)
        add_test(NAME ${name}_pg COMMAND ${name})
        set_tests_properties(${name}_pg PROPERTIES
            ENVIRONMENT "${environment};DROMVEL_TEST_ENGINE=server"
            SKIP_RETURN_CODE 77
            TIMEOUT 600)
    endif()
endfunction()
