# dromvel_add_test(<name> SOURCES <files...> LIBS <targets...>)
# Builds one QtTest executable and registers it with ctest on the offscreen platform.
function(dromvel_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;TZ=Europe/Budapest"
        TIMEOUT 600)
endfunction()
