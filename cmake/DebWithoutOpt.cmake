# Run by cpack after it made its packages: rewrites each .deb's data without
# the /opt entry itself. dpkg needs /opt to be there, as every system has it.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(work "${package}.parts")
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}/data")
  execute_process(COMMAND ar x "${package}" WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND tar -xpzf ../data.tar.gz WORKING_DIRECTORY "${work}/data" COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${work}/data" "${work}/data/*")
  list(REMOVE_ITEM entries opt)
  list(SORT entries)
  list(TRANSFORM entries PREPEND "./")
  execute_process(COMMAND tar --owner=root --group=root --no-recursion -czf ../data.tar.gz ${entries}
    WORKING_DIRECTORY "${work}/data" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${package}")
  execute_process(COMMAND ar rc "${package}" debian-binary control.tar.gz data.tar.gz
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${work}")
endforeach()
