# Run by the stage_device target (cmake -P): lays out the default device from the built product.
# Inputs: DEVICE_ROOT, BINARY_DIR, CONFIG, MUSIC_ASSETS, MUSIC_ARTWORK, KILLALL.
cmake_minimum_required(VERSION 3.25)
foreach(input DEVICE_ROOT BINARY_DIR MUSIC_ASSETS MUSIC_ARTWORK KILLALL)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "StageDeviceScript: ${input} is not set")
  endif()
endforeach()

# Where the simulated Music app keeps its named images (music::kAssetFolder).
set(music_assets "${DEVICE_ROOT}/Applications/Music.app/Assets")
# Where its media library keeps album art (music::kArtworkFolder).
set(music_artwork "${DEVICE_ROOT}/var/mobile/Media/Artwork")
# The files the last staging installed, so that a file dropped from the product does not linger
# on the device. Kept apart from cmake --install's own manifest, which a user's install into
# another root overwrites.
set(staged_list "${BINARY_DIR}/staged-product.txt")

# Replaces `destination` with the regular files of `source` (subfolders are not copied): a file
# removed from the source does not linger on the device.
function(mirror_files source destination)
  file(REMOVE_RECURSE "${destination}")
  file(MAKE_DIRECTORY "${destination}")
  file(GLOB files LIST_DIRECTORIES false "${source}/*")
  if(files)
    file(COPY ${files} DESTINATION "${destination}")
  endif()
endfunction()

if(EXISTS "${staged_list}")
  file(STRINGS "${staged_list}" previous)
  foreach(file IN LISTS previous)
    cmake_path(IS_PREFIX DEVICE_ROOT "${file}" NORMALIZE on_device)
    if(on_device)
      file(REMOVE "${file}")
    endif()
  endforeach()
endif()

# The product, installed the one way it is installed anywhere. A DESTDIR in the environment of
# the build is meant for a user's own install, not for the default device.
unset(ENV{DESTDIR})
set(config_option "")
if(CONFIG)
  set(config_option --config "${CONFIG}")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" ${config_option} --component obscuro --prefix "${DEVICE_ROOT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "StageDeviceScript: installing the product into ${DEVICE_ROOT} failed:\n${output}")
endif()
file(COPY_FILE "${BINARY_DIR}/install_manifest_obscuro.txt" "${staged_list}")

# The preferences folder is made, never emptied: settings written on this device survive a rebuild.
file(MAKE_DIRECTORY "${DEVICE_ROOT}/var/mobile/Library/Preferences" "${DEVICE_ROOT}/usr/lib" "${DEVICE_ROOT}/usr/bin")
file(COPY_FILE "${KILLALL}" "${DEVICE_ROOT}/usr/bin/killall" ONLY_IF_DIFFERENT)
mirror_files("${MUSIC_ASSETS}" "${music_assets}")
mirror_files("${MUSIC_ARTWORK}" "${music_artwork}")
