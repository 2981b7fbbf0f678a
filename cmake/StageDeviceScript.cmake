# Run by the stage_device target (cmake -P): lays out the default device from the built product.
# Inputs: DEVICE_ROOT, TWEAK_LIBRARY, FILTER_PLIST, RESOURCES.
foreach(input DEVICE_ROOT TWEAK_LIBRARY FILTER_PLIST RESOURCES)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "StageDeviceScript: ${input} is not set")
  endif()
endforeach()

set(dynamic_libraries "${DEVICE_ROOT}/Library/MobileSubstrate/DynamicLibraries")
set(bundle "${dynamic_libraries}/com.tarnwick.obscuro.bundle")

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

# Mirrored afresh, so that a resource removed from the source does not linger on the device.
file(REMOVE_RECURSE "${bundle}")
file(COPY "${RESOURCES}/" DESTINATION "${bundle}" PATTERN "README.md" EXCLUDE)
