# The stage_device target: the default device, with the product installed where the phone keeps it.
#
# ${OBSCURO_DEVICE_ROOT} receives the tweak library and its filter plist in the substrate's
# DynamicLibraries folder, the resource folder beside them (resources/ without its README), an
# empty preferences folder and the /usr folders device programs live in. Part of `all`, so that
# every build leaves a device the hosts and the tests can start on.
add_custom_target(stage_device ALL
  COMMAND ${CMAKE_COMMAND}
          -DDEVICE_ROOT=${OBSCURO_DEVICE_ROOT}
          -DTWEAK_LIBRARY=$<TARGET_FILE:Obscuro>
          -DFILTER_PLIST=${PROJECT_SOURCE_DIR}/tweak/Obscuro.plist
          -DRESOURCES=${PROJECT_SOURCE_DIR}/resources
          -P ${CMAKE_CURRENT_LIST_DIR}/StageDeviceScript.cmake
  COMMENT "Staging the default device in ${OBSCURO_DEVICE_ROOT}"
  VERBATIM)
add_dependencies(stage_device Obscuro)
