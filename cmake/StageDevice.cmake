# The stage_device target: the default device, with the product installed where the phone keeps it.
#
# ${OBSCURO_DEVICE_ROOT} receives the tweak library and its filter plist in the substrate's
# DynamicLibraries folder, the resource folder beside them (the files of resources/ but its
# README, and the placeholder glyphs obscuro-glyphs draws), the Music app's asset catalogue,
# an empty preferences folder and the /usr folders device programs live in. Part of `all`, so
# that every build leaves a device the hosts and the tests can start on. To stage another
# piece, pass its built file to the script as one more -D input and copy it there.

add_subdirectory(${PROJECT_SOURCE_DIR}/resources/glyphs ${PROJECT_BINARY_DIR}/resources/glyphs)

# The pictures are drawn once per build of their generator, not at every staging.
set(OBSCURO_GLYPHS_DIR ${PROJECT_BINARY_DIR}/glyphs)
add_custom_command(
  OUTPUT ${OBSCURO_GLYPHS_DIR}/drawn.stamp
  COMMAND obscuro-glyphs resource-folder ${OBSCURO_GLYPHS_DIR}/resource-folder
  COMMAND obscuro-glyphs music-assets ${OBSCURO_GLYPHS_DIR}/music-assets
  COMMAND ${CMAKE_COMMAND} -E touch ${OBSCURO_GLYPHS_DIR}/drawn.stamp
  DEPENDS obscuro-glyphs
  COMMENT "Drawing the placeholder glyphs and the Music app's assets"
  VERBATIM)
add_custom_target(glyphs DEPENDS ${OBSCURO_GLYPHS_DIR}/drawn.stamp)

add_custom_target(stage_device ALL
  COMMAND ${CMAKE_COMMAND}
          -DDEVICE_ROOT=${OBSCURO_DEVICE_ROOT}
          -DTWEAK_LIBRARY=$<TARGET_FILE:Obscuro>
          -DFILTER_PLIST=${PROJECT_SOURCE_DIR}/tweak/Obscuro.plist
          -DRESOURCES=${PROJECT_SOURCE_DIR}/resources
          -DRESOURCE_GLYPHS=${OBSCURO_GLYPHS_DIR}/resource-folder
          -DMUSIC_ASSETS=${OBSCURO_GLYPHS_DIR}/music-assets
          -P ${CMAKE_CURRENT_LIST_DIR}/StageDeviceScript.cmake
  COMMENT "Staging the default device in ${OBSCURO_DEVICE_ROOT}"
  VERBATIM)
add_dependencies(stage_device Obscuro glyphs)
