# The nationwide list ships zipped in the repository; every build unpacks it
# beside the executables as ken_all.csv, the default path of every list slot,
# so a freshly built program starts on real data. The large offices' list goes
# with it as jigyosyo.csv, where the program finds it for any list there.
#
# The unpacked file keeps the archive entry's timestamp, which is the data's
# date: the program shows a list's modification time as its date. Because that
# time is older than the archive itself, a stamp file, not the list, tells the
# build that the unpacking is done.
set(TORUMIN_BUNDLED_ZIP "${CMAKE_SOURCE_DIR}/data/ken_all.zip")
set(TORUMIN_BUNDLED_CSV "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/ken_all.csv")
set(TORUMIN_BUNDLED_OFFICES_ZIP "${CMAKE_SOURCE_DIR}/data/jigyosyo.zip")
set(TORUMIN_BUNDLED_OFFICES "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/jigyosyo.csv")
set(_unpack_dir "${CMAKE_BINARY_DIR}/bundled-list")
set(_unpack_stamp "${CMAKE_BINARY_DIR}/bundled-list.stamp")
add_custom_command(
    OUTPUT "${_unpack_stamp}"
    BYPRODUCTS "${TORUMIN_BUNDLED_CSV}" "${TORUMIN_BUNDLED_OFFICES}"
    COMMAND ${CMAKE_COMMAND} -E rm -rf "${_unpack_dir}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${_unpack_dir}" "${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    COMMAND ${CMAKE_COMMAND} -E chdir "${_unpack_dir}" ${CMAKE_COMMAND} -E tar xf "${TORUMIN_BUNDLED_ZIP}"
    COMMAND ${CMAKE_COMMAND} -E chdir "${_unpack_dir}" ${CMAKE_COMMAND} -E tar xf "${TORUMIN_BUNDLED_OFFICES_ZIP}"
    # A rename keeps the timestamp that tar restored; a copy would not.
    COMMAND ${CMAKE_COMMAND} -E rename "${_unpack_dir}/KEN_ALL.CSV" "${TORUMIN_BUNDLED_CSV}"
    COMMAND ${CMAKE_COMMAND} -E rename "${_unpack_dir}/JIGYOSYO.CSV" "${TORUMIN_BUNDLED_OFFICES}"
    COMMAND ${CMAKE_COMMAND} -E touch "${_unpack_stamp}"
    DEPENDS "${TORUMIN_BUNDLED_ZIP}" "${TORUMIN_BUNDLED_OFFICES_ZIP}"
    COMMENT "Unpacking the bundled nationwide postal-code list and the list of large offices"
    VERBATIM)
add_custom_target(bundled_list ALL DEPENDS "${_unpack_stamp}")
