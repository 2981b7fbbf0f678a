# The stage_device target: the default device, with the product installed where the phone keeps it.
#
# ${OBSCURO_DEVICE_ROOT} receives the product exactly as `cmake --install` lays it out
# (cmake/ProductLayout.cmake: the tweak library and its filter plist, the resource folder, the
# settings bundle and its PreferenceLoader entry), and beside it what the phone itself would
# hold: the Music app's asset catalogue, the album art of its media library, the device's killall (apps/killall), whose restart the
# settings' respring button runs, an empty preferences folder and the /usr folders device
# programs live in. Part of `all`, so that every build leaves a device the hosts and the tests
# can start on. A new product file goes into ProductLayout.cmake; a new piece of the phone is
# passed to the script as one more -D input and copied there.

add_subdirectory(${PROJECT_SOURCE_DIR}/resources/glyphs ${PROJECT_BINARY_DIR}/resources/glyphs)

# The pictures are drawn once per build of their generator, not at every staging.
set(OBSCURO_GLYPHS_DIR ${PROJECT_BINARY_DIR}/glyphs)
add_custom_command(
  OUTPUT ${OBSCURO_GLYPHS_DIR}/drawn.stamp
  COMMAND obscuro-glyphs resource-folder ${OBSCURO_GLYPHS_DIR}/resource-folder
  COMMAND obscuro-glyphs music-assets ${OBSCURO_GLYPHS_DIR}/music-assets
  COMMAND obscuro-glyphs music-artwork ${OBSCURO_GLYPHS_DIR}/music-artwork
  COMMAND ${CMAKE_COMMAND} -E touch ${OBSCURO_GLYPHS_DIR}/drawn.stamp
  DEPENDS obscuro-glyphs
  COMMENT "Drawing the placeholder glyphs, the Music app's assets and its album art"
  VERBATIM)
add_custom_target(glyphs DEPENDS ${OBSCURO_GLYPHS_DIR}/drawn.stamp)

include(${CMAKE_CURRENT_LIST_DIR}/ProductLayout.cmake)

add_custom_target(stage_device ALL
  COMMAND ${CMAKE_COMMAND}
          -DDEVICE_ROOT=${OBSCURO_DEVICE_ROOT}
          -DBINARY_DIR=${PROJECT_BINARY_DIR}
          -DCONFIG=$<CONFIG>
          -DMUSIC_ASSETS=${OBSCURO_GLYPHS_DIR}/music-assets
          -DMUSIC_ARTWORK=${OBSCURO_GLYPHS_DIR}/music-artwork
          -DKILLALL=$<TARGET_FILE:killall>
          -P ${CMAKE_CURRENT_LIST_DIR}/StageDeviceScript.cmake
  COMMENT "Staging the default device in ${OBSCURO_DEVICE_ROOT}"
  VERBATIM)
add_dependencies(stage_device Obscuro obscurosettings killall glyphs)
