# Installation and the Debian package: the program and its query tool on the
# PATH, the bundled lists where the installed program looks for them, a desktop
# entry, icons, AppStream metadata, the manual pages, and the licence and
# changelog where Debian keeps them.
include(GNUInstallDirs)

set(TORUMIN_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/torumin")

install(TARGETS torumin torumin-query RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
# The zip as published, not the CSV unpacked from it: the program reads the
# archive in place, and it is a seventh of the size. Its entry's timestamp is
# the data's date. On Windows it goes beside the program, where the program
# looks first, whatever folder the installation ends up in.
if(NOT UNIX)
    install(FILES "${TORUMIN_BUNDLED_ZIP}" "${TORUMIN_BUNDLED_OFFICES_ZIP}" DESTINATION "${CMAKE_INSTALL_BINDIR}")
    option(TORUMIN_WINDOWS_BUNDLE "Install every DLL and Qt plug-in the programs load beside them" OFF)
    if(TORUMIN_WINDOWS_BUNDLE)
        include(WindowsBundle)
    endif()
    return()
endif()
install(FILES "${TORUMIN_BUNDLED_ZIP}" "${TORUMIN_BUNDLED_OFFICES_ZIP}" DESTINATION "${TORUMIN_INSTALL_DATADIR}")

# A stripped install (the package's) also drops the compiler's notes, as
# the distribution's own packaging does.
foreach(program torumin torumin-query)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endif()")
endforeach()

install(FILES "${CMAKE_SOURCE_DIR}/packaging/torumin.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/org.example.torumin.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size 32 48 64 128 256)
    install(FILES "${CMAKE_SOURCE_DIR}/resources/icons/torumin-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME torumin.png)
endforeach()

# Manual pages and the changelog are installed compressed with gzip -9n (no
# name, no timestamp), so that two builds of one source give the same package.
find_program(TORUMIN_GZIP gzip REQUIRED)
set(_compressed_dir "${CMAKE_BINARY_DIR}/packaging")
set(_compressed_files)
function(torumin_gzip source name)
    set(copy "${_compressed_dir}/${name}")
    add_custom_command(
        OUTPUT "${copy}.gz"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${_compressed_dir}"
        COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${copy}"
        COMMAND "${TORUMIN_GZIP}" -9nf "${copy}"
        DEPENDS "${source}"
        VERBATIM)
    set(_compressed_files ${_compressed_files} "${copy}.gz" PARENT_SCOPE)
endfunction()
torumin_gzip("${CMAKE_SOURCE_DIR}/packaging/man/torumin.1" torumin.1)
torumin_gzip("${CMAKE_SOURCE_DIR}/packaging/man/torumin-query.1" torumin-query.1)
torumin_gzip("${CMAKE_SOURCE_DIR}/packaging/changelog" changelog)
add_custom_target(compressed_docs ALL DEPENDS ${_compressed_files})

install(FILES "${_compressed_dir}/torumin.1.gz" "${_compressed_dir}/torumin-query.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
set(_docdir "${CMAKE_INSTALL_DATADIR}/doc/torumin")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/copyright" DESTINATION "${_docdir}")
# The package is built from the project's own source, a native package in
# Debian's terms, whose one changelog is changelog.gz.
install(FILES "${_compressed_dir}/changelog.gz" DESTINATION "${_docdir}")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/torumin.lintian-overrides"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/lintian/overrides" RENAME torumin)

set(CPACK_PACKAGE_NAME torumin)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The TORUMIN developers")
set(CPACK_PACKAGE_CONTACT "The TORUMIN developers <torumin@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Look up Japanese postal codes and addresses offline")
set(CPACK_PACKAGE_DESCRIPTION_FILE "${CMAKE_SOURCE_DIR}/packaging/description.txt")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_SOURCE_DIR}/LICENSE")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps works out the libraries and their versions from the binaries;
# the platform plug-ins are loaded at run time, so no binary names them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
