# Installation and the Debian package: the program and its query tool on the
# PATH, the bundled list where the installed program looks for it, a desktop
# entry, icons and AppStream metadata.
include(GNUInstallDirs)

set(TORUMIN_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/torumin")

install(TARGETS torumin torumin-query RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${TORUMIN_BUNDLED_CSV}" DESTINATION "${TORUMIN_INSTALL_DATADIR}")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/torumin.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${CMAKE_SOURCE_DIR}/packaging/org.example.Torumin.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size 32 48 64 128 256)
    install(FILES "${CMAKE_SOURCE_DIR}/resources/icons/torumin-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME torumin.png)
endforeach()

set(CPACK_PACKAGE_NAME torumin)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "TORUMIN")
set(CPACK_PACKAGE_CONTACT "torumin@example.com")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Look up Japanese postal codes and addresses offline")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6core6 (>= 6.4), qt6-qpa-plugins, libzip4, libc6, libstdc++6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
