# A Windows folder that runs on any Windows as it is: beside the two programs
# and the bundled list, every DLL they load that Windows does not have (Qt,
# the MinGW-w64 runtime, zlib, libzip), found by reading the imports of the
# programs and of the Qt plug-ins, and the plug-ins Qt loads at run time by
# name: the Windows platform, the native style and the Schannel TLS backend
# (HTTPS for the list download without OpenSSL). Then the licence, the
# read-me for Windows users and (when given) the third-party notices.
#
# TORUMIN_WINDOWS_NOTICES: the file with the third-party notices.

set(TORUMIN_WINDOWS_NOTICES "" CACHE FILEPATH "The third-party notices to install beside the programs")

set(_bin "${CMAKE_INSTALL_BINDIR}")
set(_plugins)
foreach(plugin IN ITEMS platforms:QWindowsIntegrationPlugin styles:QWindowsVistaStylePlugin
                        tls:QSchannelBackendPlugin)
    string(REPLACE ":" ";" plugin "${plugin}")
    list(GET plugin 0 folder)
    list(GET plugin 1 target)
    if(NOT TARGET Qt6::${target})
        message(FATAL_ERROR "This Qt has no ${target}, which the program needs on Windows")
    endif()
    install(FILES "$<TARGET_FILE:Qt6::${target}>" DESTINATION "${_bin}/${folder}")
    list(APPEND _plugins "${folder}/$<TARGET_FILE_NAME:Qt6::${target}>")
endforeach()

# Qt's own DLLs by their targets: the dependency scan below knows a DLL by
# its name in lower case, as Windows does, and would not find Qt6Core.dll
# under that name on a case-sensitive disk. Their imports are scanned too.
foreach(module IN ITEMS Core Gui Widgets Network)
    install(FILES "$<TARGET_FILE:Qt6::${module}>" DESTINATION "${_bin}")
    list(APPEND _plugins "$<TARGET_FILE_NAME:Qt6::${module}>")
endforeach()

# The folders the DLLs are taken from: Qt's, libzip's, and the compiler's
# runtime and MinGW-w64's (with zlib).
set(_dll_folders "$<TARGET_FILE_DIR:Qt6::Core>" "$<TARGET_FILE_DIR:libzip::zip>")
foreach(dll IN ITEMS libstdc++-6.dll libwinpthread-1.dll zlib1.dll)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${dll}
                    OUTPUT_VARIABLE _found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(IS_ABSOLUTE "${_found}" AND EXISTS "${_found}")
        get_filename_component(_found "${_found}" DIRECTORY)
        list(APPEND _dll_folders "${_found}")
    endif()
endforeach()

# objdump reads the imports; the toolchain's, found beside its strip.
# (A group that matched nothing cannot be put back in CMake: two patterns.)
string(REGEX REPLACE "strip$" "objdump" _objdump "${CMAKE_STRIP}")
string(REGEX REPLACE "strip\\.exe$" "objdump.exe" _objdump "${_objdump}")

install(CODE "
    set(bin \"\${CMAKE_INSTALL_PREFIX}/${_bin}\")
    set(plugins \"${_plugins}\")
    list(TRANSFORM plugins PREPEND \"\${bin}/\")
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
    set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${_objdump}\")
    set(folders \"${_dll_folders}\")
    file(GET_RUNTIME_DEPENDENCIES
        EXECUTABLES \"\${bin}/torumin.exe\" \"\${bin}/torumin-query.exe\"
        MODULES \${plugins}
        DIRECTORIES \${folders}
        RESOLVED_DEPENDENCIES_VAR dlls
        UNRESOLVED_DEPENDENCIES_VAR system_dlls)
    # Not found among those folders: Windows' own (KERNEL32.dll, …), and
    # Qt's, installed above.
    list(FILTER system_dlls EXCLUDE REGEX \"^qt6[a-z]+\\\\.dll$\")
    list(JOIN system_dlls \", \" system_dlls)
    message(STATUS \"Windows' own DLLs: \${system_dlls}\")
    file(INSTALL \${dlls} DESTINATION \"\${bin}\")
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(dll \${dlls})
            get_filename_component(name \"\${dll}\" NAME)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${bin}/\${name}\" COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
")

# Qt's own texts in Japanese (the OK and Cancel of message boxes, the file
# chooser), where the program looks for them beside itself. The .qm files
# are the same on every system: Debian's serve.
find_file(TORUMIN_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
install(FILES "${TORUMIN_QTBASE_JA}" DESTINATION "${_bin}/translations")

configure_file("${CMAKE_SOURCE_DIR}/packaging/windows/README.txt.in" "${CMAKE_BINARY_DIR}/windows/README.txt" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/windows/README.txt" DESTINATION "${_bin}")
install(FILES "${CMAKE_SOURCE_DIR}/LICENSE" DESTINATION "${_bin}" RENAME LICENSE.txt)
if(TORUMIN_WINDOWS_NOTICES)
    install(FILES "${TORUMIN_WINDOWS_NOTICES}" DESTINATION "${_bin}" RENAME THIRD-PARTY-NOTICES.txt)
endif()
