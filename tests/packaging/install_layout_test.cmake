# `cmake --install` lays out exactly the product under the chosen root, by prefix or by DESTDIR, as the default device holds it.
# Inputs: BINARY_DIR, SOURCE_DIR, DEVICE_ROOT, EXPECTED, SCRATCH.
cmake_minimum_required(VERSION 3.25)
include("${EXPECTED}")
obscuro_product_files(expected "${BINARY_DIR}/glyphs/resource-folder")

# Installs the product and returns the regular files under `root`, relative and sorted.
function(install_product root out)
  file(REMOVE_RECURSE "${root}")
  execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BINARY_DIR}" --component obscuro ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
  endif()
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
  list(SORT files)
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# The root as the install prefix.
set(root "${SCRATCH}/by-prefix")
install_product("${root}" installed --prefix "${root}")
obscuro_expect_same_files("The install under --prefix" "${installed}" "${expected}")

# The root as DESTDIR, over the phone's own prefix "/".
set(ENV{DESTDIR} "${SCRATCH}/by-destdir")
install_product("${SCRATCH}/by-destdir" installed_by_destdir --prefix /)
unset(ENV{DESTDIR})
obscuro_expect_same_files("The install under DESTDIR" "${installed_by_destdir}" "${expected}")

# Plists go in as written: the loader's filter, the theme file and the Settings entry.
foreach(pair
    "tweak/Obscuro.plist=Library/MobileSubstrate/DynamicLibraries/Obscuro.plist"
    "resources/themes.plist=Library/MobileSubstrate/DynamicLibraries/com.tarnwick.obscuro.bundle/themes.plist"
    "settings/entry.plist=Library/PreferenceLoader/Preferences/obscurosettings.plist"
    "settings/Resources/Root.plist=Library/PreferenceBundles/obscurosettings.bundle/Root.plist")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 target)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SOURCE_DIR}/${source}" "${root}/${target}" RESULT_VARIABLE differ)
  if(differ)
    message(FATAL_ERROR "${target} is not a copy of ${source}")
  endif()
endforeach()

# An installed library that still looked in the build folder for its libraries would work here
# and nowhere else.
foreach(library "Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib"
                "Library/PreferenceBundles/obscurosettings.bundle/obscurosettings")
  file(READ_ELF "${root}/${library}" RPATH rpath RUNPATH runpath)
  if(rpath OR runpath)
    message(FATAL_ERROR "${library} keeps a search path from the build: ${rpath}${runpath}")
  endif()
endforeach()

# The build stages the default device by the same install: every product file is there.
foreach(file IN LISTS expected)
  if(NOT EXISTS "${DEVICE_ROOT}/${file}")
    message(FATAL_ERROR "The staged device ${DEVICE_ROOT} lacks ${file}")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
