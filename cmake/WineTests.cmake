# Windows test executables run under Wine, in a private prefix under the build directory.
set(ZEMLAR_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run)

function(zemlar_add_wine_test name)
    add_test(NAME ${name} COMMAND ${name} ${ARGN})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "WINEPREFIX=${ZEMLAR_WINEPREFIX}"
                                            TIMEOUT 300)
endfunction()
