# Warnings shared by every target of our own code.
add_library(taviro_warnings INTERFACE)
target_compile_options(taviro_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                 -Wimplicit-fallthrough)
