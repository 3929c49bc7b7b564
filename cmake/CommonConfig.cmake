# One place for the language level, warnings and defines every target shares.
add_library(torumin_options INTERFACE)
target_compile_features(torumin_options INTERFACE cxx_std_20)
target_compile_definitions(torumin_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
target_compile_options(torumin_options INTERFACE
    -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor)
if(TORUMIN_WERROR)
    target_compile_options(torumin_options INTERFACE -Werror)
endif()
if(TORUMIN_SANITIZE)
    target_compile_options(torumin_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(torumin_options INTERFACE -fsanitize=address,undefined)
endif()
