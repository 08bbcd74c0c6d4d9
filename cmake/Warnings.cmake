# Warning and sanitizer flags, applied to every target of the project through
# pictelle_options().
add_library(pictelle_options INTERFACE)
target_compile_options(pictelle_options INTERFACE -Wall -Wextra -Wpedantic)
if(PICTELLE_STRICT)
  target_compile_options(pictelle_options INTERFACE -Werror)
endif()
if(PICTELLE_SANITIZE)
  # float-cast-overflow is named on its own: GCC's "undefined" leaves it out, and a float
  # turned into an integer out of range is what hostile shapes push the renderer towards.
  # Both GCC and clang know it.
  target_compile_options(pictelle_options INTERFACE
    -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer)
  target_link_options(pictelle_options INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()
