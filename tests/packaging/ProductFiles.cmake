# The files the product installs, relative to the phone's root; included by the packaging tests.

# Sets `out` to the sorted list of the product's files: fixed ones and the placeholder glyphs
# the build drew into `glyph_folder`.
function(obscuro_product_files out glyph_folder)
  set(tweak "Library/MobileSubstrate/DynamicLibraries")
  set(bundle "Library/PreferenceBundles/obscurosettings.bundle")
  set(files
      "${tweak}/Obscuro.dylib"
      "${tweak}/Obscuro.plist"
      "${tweak}/com.tarnwick.obscuro.bundle/themes.plist"
      "${bundle}/obscurosettings"
      "${bundle}/Info.plist"
      "${bundle}/Root.plist"
      "${bundle}/custom_colors.plist"
      "${bundle}/my_tweaks.plist"
      "Library/PreferenceLoader/Preferences/obscurosettings.plist")
  file(GLOB glyphs RELATIVE "${glyph_folder}" "${glyph_folder}/*.png")
  if(NOT "MissingArtworkMusicNote.png" IN_LIST glyphs)
    message(FATAL_ERROR "the build drew no placeholder glyphs in ${glyph_folder}")
  endif()
  foreach(glyph IN LISTS glyphs)
    list(APPEND files "${tweak}/com.tarnwick.obscuro.bundle/${glyph}")
  endforeach()
  list(SORT files)
  set(${out} "${files}" PARENT_SCOPE)
endfunction()

# Fails the test, listing both sides, when `actual` and `expected` differ.
function(obscuro_expect_same_files what actual expected)
  if(NOT actual STREQUAL expected)
    set(missing ${expected})
    list(REMOVE_ITEM missing ${actual})
    set(extra ${actual})
    list(REMOVE_ITEM extra ${expected})
    list(JOIN missing "\n  " missing)
    list(JOIN extra "\n  " extra)
    message(FATAL_ERROR "${what} differs from the product's layout.\nMissing:\n  ${missing}\nNot part of the product:\n  ${extra}")
  endif()
endfunction()
