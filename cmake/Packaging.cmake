# `cmake --install` and `cpack -G DEB`: the two programs, the desktop entry, the icon in every
# drawn size, and the database an installed program copies into the user's data folder at its
# first start (master password 123456).
include(GNUInstallDirs)

set(KEYHAVEN_PACKAGE_DATA ${CMAKE_BINARY_DIR}/package-data)

add_executable(keyhaven-render-icons ${PROJECT_SOURCE_DIR}/packaging/render_icons.cpp)
keyhaven_warnings(keyhaven-render-icons)
target_include_directories(keyhaven-render-icons PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(keyhaven-render-icons PRIVATE keyhaven_app Qt6::Gui)

add_custom_command(
  OUTPUT ${KEYHAVEN_PACKAGE_DATA}/icons.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${KEYHAVEN_PACKAGE_DATA}/icons
  COMMAND keyhaven-render-icons ${KEYHAVEN_PACKAGE_DATA}/icons
  COMMAND ${CMAKE_COMMAND} -E touch ${KEYHAVEN_PACKAGE_DATA}/icons.stamp
  DEPENDS keyhaven-render-icons
  COMMENT "Drawing the program icon for the icon theme"
  VERBATIM)
# Made afresh whenever keyhaven-newdb changes, so the package always carries what the tool makes.
add_custom_command(
  OUTPUT ${KEYHAVEN_PACKAGE_DATA}/_.udb
  COMMAND keyhaven-newdb --force ${KEYHAVEN_PACKAGE_DATA}/_.udb
  DEPENDS keyhaven-newdb
  COMMENT "Making the database supplied with the installed program"
  VERBATIM)
add_custom_target(keyhaven-package-data ALL
  DEPENDS ${KEYHAVEN_PACKAGE_DATA}/icons.stamp ${KEYHAVEN_PACKAGE_DATA}/_.udb)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/example.keyhaven.Keyhaven.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${KEYHAVEN_PACKAGE_DATA}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${KEYHAVEN_PACKAGE_DATA}/_.udb DESTINATION ${CMAKE_INSTALL_DATADIR}/keyhaven
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keyhaven)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "keyhaven")
set(CPACK_PACKAGE_CONTACT "keyhaven developers <developers@keyhaven.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password manager for one person (钥匣个人版)")
set(CPACK_PACKAGE_DESCRIPTION "Keeps web and program accounts in one encrypted file, unlocked with a \
master password, and enters the account name or password into any window with a global hot key \
(X11 and XWayland). Chinese user interface.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://keyhaven.example")
# Shared libraries are found by dpkg-shlibdeps; what the program loads or shows without linking
# it is named here: Qt's X11 platform plugin and a font for the Chinese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-user-dirs")
include(CPack)
