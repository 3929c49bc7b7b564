# What a Windows user sees of the executables before starting them: the
# program's icon and its version information. The icon is put together at
# build time from the PNGs the Linux desktop uses.
find_program(TORUMIN_ICOTOOL icotool REQUIRED)
set(_icons "${CMAKE_SOURCE_DIR}/resources/icons")
set(TORUMIN_WINDOWS_ICON "${CMAKE_BINARY_DIR}/windows/torumin.ico")
add_custom_command(
    OUTPUT "${TORUMIN_WINDOWS_ICON}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/windows"
    COMMAND "${TORUMIN_ICOTOOL}" -c -o "${TORUMIN_WINDOWS_ICON}"
        "${_icons}/torumin-32.png" "${_icons}/torumin-48.png" "${_icons}/torumin-64.png"
        "${_icons}/torumin-128.png" "${_icons}/torumin-256.png"
    DEPENDS "${_icons}/torumin-32.png" "${_icons}/torumin-48.png" "${_icons}/torumin-64.png"
        "${_icons}/torumin-128.png" "${_icons}/torumin-256.png"
    VERBATIM)
add_custom_target(windows_icon DEPENDS "${TORUMIN_WINDOWS_ICON}")

# torumin_windows_resources(TARGET DESCRIPTION): the icon and a VERSIONINFO
# whose file description is DESCRIPTION and product version the project's.
function(torumin_windows_resources target description)
    set(TORUMIN_RC_NAME "${target}")
    set(TORUMIN_RC_DESCRIPTION "${description}")
    set(TORUMIN_RC_ICON "${TORUMIN_WINDOWS_ICON}")
    set(rc "${CMAKE_BINARY_DIR}/windows/${target}.rc")
    configure_file("${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
    set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${TORUMIN_WINDOWS_ICON}")
    add_dependencies(${target} windows_icon)
endfunction()
