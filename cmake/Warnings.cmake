# Warning set applied to every target of the project (not to third-party code).
add_library(pigmora_warnings INTERFACE)
target_compile_options(pigmora_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough -Wformat=2)
if(PIGMORA_WERROR)
  target_compile_options(pigmora_warnings INTERFACE -Werror)
endif()
