# One place for the warnings and defines every target of ours builds with.
add_library(nagitori_strict INTERFACE)
target_compile_options(nagitori_strict INTERFACE -Wall -Wextra -Wpedantic -Werror)
target_compile_definitions(nagitori_strict INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_DISABLE_DEPRECATED_BEFORE=0x060400)
if(NAGITORI_SANITIZE)
  target_compile_options(nagitori_strict INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(nagitori_strict INTERFACE -fsanitize=address,undefined)
endif()
