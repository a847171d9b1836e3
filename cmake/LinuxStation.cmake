# tpfw and its run supervisor, with a launcher and the icon beside them.
install(TARGETS tpfw tpfw-run tpfw-release tpfw-history RUNTIME DESTINATION .)
install(FILES deploy/icons/hicolor/256x256/apps/tpfw.png DESTINATION .)
# Launchers need an absolute path, known only once the folder is installed.
# Exec quotes it, with the characters reserved inside quotes escaped (a
# backslash cannot occur: CMake installs to no such path).
install(CODE "set(template \"${PROJECT_SOURCE_DIR}/deploy/tpfw.desktop.in\")")
install(CODE [[
  string(REGEX REPLACE "([\"`$])" "\\\\\\1" TPFW_EXEC "${CMAKE_INSTALL_PREFIX}/tpfw")
  set(TPFW_ICON "${CMAKE_INSTALL_PREFIX}/tpfw.png")
  configure_file("${template}" "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/tpfw.desktop" @ONLY)
  message(STATUS "Installing: $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/tpfw.desktop")
]])

# The Debian package puts the station folder in /opt/tpfw and adds the menu
# entry and the icon theme's files under /usr/share: a component of their
# own, which a plain install leaves out.
set(TPFW_EXEC /opt/tpfw/tpfw)
set(TPFW_ICON tpfw)
configure_file(deploy/tpfw.desktop.in ${PROJECT_BINARY_DIR}/menu/tpfw.desktop @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/menu/tpfw.desktop
  DESTINATION /usr/share/applications COMPONENT desktop EXCLUDE_FROM_ALL)
foreach(size 16 24 32 48 64 128 256)
  install(FILES deploy/icons/hicolor/${size}x${size}/apps/tpfw.png
    DESTINATION /usr/share/icons/hicolor/${size}x${size}/apps COMPONENT desktop EXCLUDE_FROM_ALL)
endforeach()
install(FILES deploy/icons/tpfw.svg
  DESTINATION /usr/share/icons/hicolor/scalable/apps COMPONENT desktop EXCLUDE_FROM_ALL)
# The plant's files: the station's settings as installed (no keys: a station
# that asks for nothing), kept by dpkg as the engineer edits them; and, for
# the central server, the rsyslog configurations and the database's schema.
install(FILES deploy/station.ini DESTINATION /etc/tpfw COMPONENT desktop EXCLUDE_FROM_ALL)
# The run lock every user takes, made at boot where /run/lock is not
# writable by all.
install(FILES deploy/tpfw-tmpfiles.conf DESTINATION /usr/lib/tmpfiles.d RENAME tpfw.conf COMPONENT desktop
  EXCLUDE_FROM_ALL)
install(DIRECTORY deploy/rsyslog deploy/postgresql DESTINATION /usr/share/tpfw COMPONENT desktop EXCLUDE_FROM_ALL)
file(WRITE ${PROJECT_BINARY_DIR}/deb/conffiles "/etc/tpfw/station.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/deb/conffiles)

# The archive holds the station folder where the launcher expects it:
# unpack it with "tar -xzf ... -C /". The package: "cpack -G DEB".
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_FILE_NAME "tpfw-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/tpfw)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CONTACT "${TPFW_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Touch panel firmware update station")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's own texts in the station's language, and a font that draws
# Chinese and Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qttranslations5-l10n, fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified desktop)
# dpkg takes every folder a package lists as partly its own, /opt too, and
# warns on purge that it cannot remove it: the package leaves /opt out.
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_POST_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/DebWithoutOpt.cmake")
