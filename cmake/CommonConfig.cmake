# One place for the language level, warnings and defines every target shares.
add_library(torumin_options INTERFACE)
target_compile_features(torumin_options INTERFACE cxx_std_20)
target_compile_definitions(torumin_options INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
if(MSVC)
    # The sources are UTF-8 with Japanese text in their literals; without
    # /utf-8 the compiler would read them in the system's code page.
    target_compile_options(torumin_options INTERFACE /W4 /utf-8 /permissive- /Zc:__cplusplus)
    if(TORUMIN_WERROR)
        target_compile_options(torumin_options INTERFACE /WX)
    endif()
else()
    target_compile_options(torumin_options INTERFACE
        -Wall -Wextra -pedantic -Wold-style-cast -Wnon-virtual-dtor)
    if(TORUMIN_WERROR)
        target_compile_options(torumin_options INTERFACE -Werror)
    endif()
    # GCC 12 at -O2 warns of out-of-bounds and uninitialized reads inside
    # std::vector::resize and std::optional<QString> once it has inlined
    # them (GCC bugs 106297, 107138, 105562): the Windows release build meets
    # them in code that is sound and checked under the sanitizers on Linux.
    if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(torumin_options INTERFACE
            -Wno-array-bounds -Wno-stringop-overflow -Wno-maybe-uninitialized)
    endif()
endif()
if(TORUMIN_SANITIZE)
    target_compile_options(torumin_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(torumin_options INTERFACE -fsanitize=address,undefined)
endif()
