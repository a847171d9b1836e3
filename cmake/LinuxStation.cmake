# tpfw with a launcher beside it.
install(TARGETS tpfw tpfw-run RUNTIME DESTINATION .)
# Launchers need an absolute path, known only once the folder is installed.
# Exec quotes it, with the characters reserved inside quotes escaped (a
# backslash cannot occur: CMake installs to no such path).
install(CODE "set(template \"${PROJECT_SOURCE_DIR}/deploy/tpfw.desktop.in\")")
install(CODE [[
  string(REGEX REPLACE "([\"`$])" "\\\\\\1" TPFW_EXEC "${CMAKE_INSTALL_PREFIX}/tpfw")
  configure_file("${template}" "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/tpfw.desktop" @ONLY)
  message(STATUS "Installing: $ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/tpfw.desktop")
]])

# The archive holds the station folder where the launcher expects it:
# unpack it with "tar -xzf ... -C /".
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_FILE_NAME "tpfw-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /opt/tpfw)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
