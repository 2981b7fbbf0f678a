# Run by CPack after it builds the package: adds the Name and Author fields of the control file, which its DEB generator does not write.
# Inputs (from CPackConfig.cmake): CPACK_PACKAGE_FILES, CPACK_OBSCURO_CONTROL_NAME, CPACK_OBSCURO_CONTROL_AUTHOR.
find_program(DPKG_DEB dpkg-deb)
if(NOT DPKG_DEB)
  message(WARNING "dpkg-deb is not installed: the package has no Name and Author fields")
  return()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(unpacked "${package}.unpacked")
  file(REMOVE_RECURSE "${unpacked}")
  execute_process(COMMAND "${DPKG_DEB}" --raw-extract "${package}" "${unpacked}" RESULT_VARIABLE result ERROR_VARIABLE error)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot unpack ${package}: ${error}")
  endif()
  # The fields join the one paragraph of the control file, before the blank line that may end it.
  file(READ "${unpacked}/DEBIAN/control" control)
  string(STRIP "${control}" control)
  file(WRITE "${unpacked}/DEBIAN/control"
       "${control}\nName: ${CPACK_OBSCURO_CONTROL_NAME}\nAuthor: ${CPACK_OBSCURO_CONTROL_AUTHOR}\n")
  # Unpacked as whoever runs cpack; the package's files belong to root, as CPack wrote them.
  execute_process(COMMAND "${DPKG_DEB}" --root-owner-group -Zgzip --build "${unpacked}" "${package}"
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE error)
  file(REMOVE_RECURSE "${unpacked}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot rebuild ${package}: ${error}")
  endif()
endforeach()
