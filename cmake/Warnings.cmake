# Warnings for the project's own targets only; third-party code keeps its own flags.
set(ZEMLAR_COMMON_WARNINGS
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
    -Wnon-virtual-dtor -Wcast-align -Wnull-dereference -Wformat=2 -Werror)

# Platform-free code: the strictest set.
function(zemlar_warnings target)
    target_compile_options(${target} PRIVATE ${ZEMLAR_COMMON_WARNINGS} -Wold-style-cast
                                             -Wdouble-promotion)
endfunction()

# Code that includes <windows.h>: its macros (MAKEINTRESOURCE, the COM helpers) cast the C way,
# and GetProcAddress results have to be cast to the entry's real type.
function(zemlar_platform_warnings target)
    target_compile_options(${target} PRIVATE ${ZEMLAR_COMMON_WARNINGS} -Wno-cast-function-type)
endfunction()
