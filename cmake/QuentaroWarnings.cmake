# Strict warnings for our own targets only.
add_library (quentaro_warnings INTERFACE)
target_compile_options (quentaro_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual -Wunused)

option (QUENTARO_WERROR "Treat warnings in our own code as errors" ON)
if (QUENTARO_WERROR)
    target_compile_options (quentaro_warnings INTERFACE -Werror)
endif()
