# The nationwide list ships zipped in the repository; every build unpacks it
# beside the executables as ken_all.csv, the default path of every list slot,
# so a freshly built program starts on real data.
set(TORUMIN_BUNDLED_ZIP "${CMAKE_SOURCE_DIR}/data/ken_all.zip")
set(TORUMIN_BUNDLED_CSV "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ken_all.csv")
set(_unpack_dir "${CMAKE_BINARY_DIR}/bundled-list")
add_custom_command(
    OUTPUT "${TORUMIN_BUNDLED_CSV}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${_unpack_dir}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_unpack_dir}"
    COMMAND ${CMAKE_COMMAND} -E chdir "${_unpack_dir}" ${CMAKE_COMMAND} -E tar xf "${TORUMIN_BUNDLED_ZIP}"
    COMMAND ${CMAKE_COMMAND} -E copy "${_unpack_dir}/KEN_ALL.CSV" "${TORUMIN_BUNDLED_CSV}"
    DEPENDS "${TORUMIN_BUNDLED_ZIP}"
    COMMENT "Unpacking the bundled nationwide postal-code list"
    VERBATIM)
add_custom_target(bundled_list ALL DEPENDS "${TORUMIN_BUNDLED_CSV}")
