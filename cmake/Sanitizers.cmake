# Builds with the address and undefined-behaviour sanitizers.
#
# JUKARIUM_SANITIZE  every target of ours built and linked with AddressSanitizer and
#                    UndefinedBehaviorSanitizer; any undefined behaviour ends the program, as a
#                    memory error does. gcc or clang.
# The libraries of others (Qt, libopenmpt, SDL) stay as Debian built them.
option(JUKARIUM_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(JUKARIUM_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
endif()
