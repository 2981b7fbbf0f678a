# Run by the stage_device target (cmake -P): installs the settings bundle, its PreferenceLoader
# entry and the device's killall into the default device.
# Inputs: DEVICE_ROOT, BUNDLE_LIBRARY, SETTINGS_SOURCE, KILLALL.
foreach(input DEVICE_ROOT BUNDLE_LIBRARY SETTINGS_SOURCE KILLALL)
  if(NOT DEFINED ${input} OR "${${input}}" STREQUAL "")
    message(FATAL_ERROR "StageSettings: ${input} is not set")
  endif()
endforeach()

set(bundle "${DEVICE_ROOT}/Library/PreferenceBundles/obscurosettings.bundle")
set(entries "${DEVICE_ROOT}/Library/PreferenceLoader/Preferences")

# Mirrored afresh, so that a specifier file removed from the source does not linger.
file(REMOVE_RECURSE "${bundle}")
file(MAKE_DIRECTORY "${bundle}" "${entries}" "${DEVICE_ROOT}/usr/bin")
file(GLOB resources "${SETTINGS_SOURCE}/Resources/*.plist")
file(COPY ${resources} DESTINATION "${bundle}")
file(COPY_FILE "${BUNDLE_LIBRARY}" "${bundle}/obscurosettings")
file(COPY_FILE "${SETTINGS_SOURCE}/entry.plist" "${entries}/obscurosettings.plist" ONLY_IF_DIFFERENT)
file(COPY_FILE "${KILLALL}" "${DEVICE_ROOT}/usr/bin/killall" ONLY_IF_DIFFERENT)
