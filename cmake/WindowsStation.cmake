# tpfw.exe with what it loads beside it, as windeployqt would lay it out:
# the Qt libraries, the platform plugin and the native style, from Qt's own
# targets, and with MinGW the compiler's runtime DLLs that all of them link
# (MSVC's runtime comes with its redistributable instead).
if(MINGW)
  set(runtime_set RUNTIME_DEPENDENCY_SET tpfw_runtime)
endif()
install(TARGETS tpfw tpfw-run tpfw-release tpfw-history ${runtime_set} RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt5::Core Qt5::Gui Qt5::Widgets ${runtime_set} RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt5::QWindowsIntegrationPlugin ${runtime_set} LIBRARY DESTINATION platforms)
install(IMPORTED_RUNTIME_ARTIFACTS Qt5::QWindowsVistaStylePlugin ${runtime_set} LIBRARY DESTINATION styles)

# The toolkit's own texts in the languages tpfw speaks. A kit may have none:
# they are the same files on every platform, so the build host's do.
foreach(language ja zh_CN zh_TW)
  find_file(qtbase_${language} qtbase_${language}.qm
    PATHS ${Qt5_DIR}/../../../translations /usr/share/qt5/translations NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  install(FILES ${qtbase_${language}} DESTINATION translations)
endforeach()

if(MINGW)
  # The compiler's runtime is where the compiler says.
  foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(folder "${path}" DIRECTORY)
    list(APPEND runtime_folders "${folder}")
  endforeach()
  # Windows' own DLLs stay out, and Qt's are installed above (they are looked
  # for in lower case, which a case-sensitive build host does not find).
  install(RUNTIME_DEPENDENCY_SET tpfw_runtime
    DIRECTORIES ${runtime_folders}
    PRE_INCLUDE_REGEXES "^lib"
    PRE_EXCLUDE_REGEXES ".*"
    DESTINATION .)
  # The compiler's runtime comes with its symbols: ten times the size.
  install(CODE "set(strip \"${CMAKE_STRIP}\")")
  install(CODE [[
    file(GLOB runtime "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/lib*.dll")
    foreach(dll IN LISTS runtime)
      execute_process(COMMAND "${strip}" --strip-unneeded "${dll}" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  ]])
endif()

# The ZIP is the station folder; "cpack -G NSIS" makes an installer of it
# (makensis runs on Linux too) that puts it under Program Files, with a
# Start-menu entry and an uninstaller.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "tpfw-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_PACKAGE_VENDOR tpfw)
set(CPACK_PACKAGE_INSTALL_DIRECTORY tpfw)
set(CPACK_PACKAGE_EXECUTABLES tpfw "TP Firmware Update")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/deploy/icons/tpfw.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/deploy/icons/tpfw.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME tpfw.exe)
set(CPACK_NSIS_DISPLAY_NAME "TP Firmware Update")
# The station's settings as installed, in ProgramData for every user: no
# keys, a station that asks for nothing. An engineer's file is never
# overwritten, nor removed with the program.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  SetShellVarContext all
  CreateDirectory '$APPDATA\\tpfw'
  SetOverwrite off
  File '/oname=$APPDATA\\tpfw\\station.ini' '${PROJECT_SOURCE_DIR}/deploy/station.ini'
  SetOverwrite on
")
# A 64-bit installer for a 64-bit program: no 32-bit layer needed to run it.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackGenerators.cmake")
file(WRITE "${PROJECT_BINARY_DIR}/CPackGenerators.cmake" [[
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "tpfw-${CPACK_PACKAGE_VERSION}-win64")
endif()
]])
