# Run by the stage_device target (cmake -P): lays out the default device from the built product.
# Inputs: DEVICE_ROOT, TWEAK_LIBRARY, FILTER_PLIST, RESOURCES, RESOURCE_GLYPHS, MUSIC_ASSETS.
cmake_minimum_required(VERSION 3.25)
foreach(input DEVICE_ROOT TWEAK_LIBRARY FILTER_PLIST RESOURCES RESOURCE_GLYPHS MUSIC_ASSETS)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "StageDeviceScript: ${input} is not set")
  endif()
endforeach()

set(dynamic_libraries "${DEVICE_ROOT}/Library/MobileSubstrate/DynamicLibraries")
set(bundle "${dynamic_libraries}/com.tarnwick.obscuro.bundle")
# Where the simulated Music app keeps its named images (music::kAssetFolder).
set(music_assets "${DEVICE_ROOT}/Applications/Music.app/Assets")

# Replaces `destination` with the regular files of `source` (subfolders are not copied), less
# any named in EXCLUDE: a file removed from the source does not linger on the device.
function(mirror_files source destination)
  cmake_parse_arguments(M "" "" "EXCLUDE" ${ARGN})
  file(REMOVE_RECURSE "${destination}")
  file(MAKE_DIRECTORY "${destination}")
  file(GLOB files LIST_DIRECTORIES false "${source}/*")
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    if(NOT name IN_LIST M_EXCLUDE)
      file(COPY "${file}" DESTINATION "${destination}")
    endif()
  endforeach()
endfunction()

# The preferences folder is made, never emptied: settings written on this device survive a rebuild.
file(MAKE_DIRECTORY "${dynamic_libraries}" "${DEVICE_ROOT}/var/mobile/Library/Preferences"
                    "${DEVICE_ROOT}/usr/lib" "${DEVICE_ROOT}/usr/bin")

# The library and its filter go together: a filter without its library would make every host
# report a failed load.
if(EXISTS "${TWEAK_LIBRARY}")
  file(COPY_FILE "${TWEAK_LIBRARY}" "${dynamic_libraries}/Obscuro.dylib" ONLY_IF_DIFFERENT)
  file(COPY_FILE "${FILTER_PLIST}" "${dynamic_libraries}/Obscuro.plist" ONLY_IF_DIFFERENT)
else()
  message(WARNING "The tweak library ${TWEAK_LIBRARY} is not built; the device is staged without it.")
  file(REMOVE "${dynamic_libraries}/Obscuro.dylib" "${dynamic_libraries}/Obscuro.plist")
endif()

# The resource folder: the shipped files of resources/ and the glyphs drawn for them.
mirror_files("${RESOURCES}" "${bundle}" EXCLUDE README.md)
file(GLOB glyphs LIST_DIRECTORIES false "${RESOURCE_GLYPHS}/*.png")
file(COPY ${glyphs} DESTINATION "${bundle}")

mirror_files("${MUSIC_ASSETS}" "${music_assets}")
