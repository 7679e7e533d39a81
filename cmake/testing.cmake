# GoogleTest: the host's packaged library natively; for MinGW builds, compiled
# from the Debian "googletest" source package.
if(NOT QUILLORY_TESTS)
    return()
endif()
if(WIN32)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # googletest's own sources do not build warning-free with -Werror under MinGW.
    foreach(t gtest gtest_main gmock gmock_main)
        if(TARGET ${t})
            target_compile_options(${t} PRIVATE -Wno-error)
            if(NOT TARGET GTest::${t})
                add_library(GTest::${t} ALIAS ${t})
            endif()
        endif()
    endforeach()
else()
    find_package(GTest REQUIRED)
endif()

# One ctest entry per test program (each Wine start costs seconds).
# Under Wine the test programs print their failures without a debugger's help
# (tests/win/test_main.cpp says why).
if(WIN32)
    add_library(quillory_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/win/test_main.cpp)
    target_link_libraries(quillory_test_main PUBLIC GTest::gtest)
    set(QUILLORY_TEST_MAIN quillory_test_main)
else()
    set(QUILLORY_TEST_MAIN GTest::gtest_main)
endif()

function(quillory_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest ${QUILLORY_TEST_MAIN})
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    quillory_test_in_lane(${name})
endfunction()

# A Windows test takes one lane (a display and a Wine prefix of its own) when
# tools/win-suite.sh runs the suite in lanes; ctest ignores this otherwise.
function(quillory_test_in_lane)
    if(WIN32)
        set_tests_properties(${ARGN} PROPERTIES RESOURCE_GROUPS lanes:1)
    endif()
endfunction()
