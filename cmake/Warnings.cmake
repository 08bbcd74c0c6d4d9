# Warning and sanitizer flags, applied to every target of the project through
# pictelle_options().
add_library(pictelle_options INTERFACE)
target_compile_options(pictelle_options INTERFACE -Wall -Wextra -Wpedantic)
if(PICTELLE_STRICT)
  target_compile_options(pictelle_options INTERFACE -Werror)
endif()
if(PICTELLE_SANITIZE)
  target_compile_options(pictelle_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(pictelle_options INTERFACE -fsanitize=address,undefined)
endif()
