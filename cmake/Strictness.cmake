# One place for the warnings and defines every target of ours builds with.
add_library(nagitori_strict INTERFACE)
target_compile_options(nagitori_strict INTERFACE -Wall -Wextra -Wpedantic)
if(NAGITORI_WERROR)
  target_compile_options(nagitori_strict INTERFACE -Werror)
endif()
# GCC 12's optimizer sees overlapping copies inside std::string where there are none (GCC bug 105329): code as
# plain as `"'" + text`, ours or GoogleTest's headers', warns at -O3. Later versions still check our code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
   AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(nagitori_strict INTERFACE -Wno-restrict)
endif()
target_compile_definitions(nagitori_strict INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_DISABLE_DEPRECATED_BEFORE=0x060400)
if(NAGITORI_SANITIZE)
  target_compile_options(nagitori_strict INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(nagitori_strict INTERFACE -fsanitize=address,undefined)
endif()
