# Where each file of the product goes on the phone: the one list used by `cmake --install`, the package and stage_device.
#
# Every rule belongs to the component "obscuro" and names a destination relative to the install
# prefix, which stands for the phone's root: `cmake --install BUILD --prefix ROOT` lays the product
# out under ROOT (DESTDIR, when set, is put in front as usual). An unset prefix means the default
# device the build stages. Only the product is listed here: libplatform, killall and the hosts
# stand in for the phone and are never installed. Included where OBSCURO_GLYPHS_DIR is known.

# CMake's own default, /usr/local (left in build folders configured before this rule too), means
# nothing on a phone, so it counts as unset.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(CMAKE_INSTALL_PREFIX "${OBSCURO_DEVICE_ROOT}" CACHE PATH "The device root the product is installed under" FORCE)
endif()

set(tweak_folder "Library/MobileSubstrate/DynamicLibraries")
set(resource_folder "${tweak_folder}/com.tarnwick.obscuro.bundle")
set(preference_bundle "Library/PreferenceBundles/obscurosettings.bundle")
set(preference_entries "Library/PreferenceLoader/Preferences")

# Binaries are executable, as on the phone (CMake would otherwise follow Debian's habit of
# installing shared libraries without the execute bits).
set(binary_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The tweak library and its filter go together: the substrate's loader finds one by the other.
install(TARGETS Obscuro LIBRARY DESTINATION ${tweak_folder} PERMISSIONS ${binary_permissions} COMPONENT obscuro)
install(FILES ${PROJECT_SOURCE_DIR}/tweak/Obscuro.plist DESTINATION ${tweak_folder} COMPONENT obscuro)

# The resource folder: the shipped files of resources/ (its README and the glyph generator's
# sources stay behind) and the placeholder glyphs drawn at build time.
file(GLOB resource_files LIST_DIRECTORIES false CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
list(FILTER resource_files EXCLUDE REGEX "/README\\.md$")
install(FILES ${resource_files} DESTINATION ${resource_folder} COMPONENT obscuro)
install(DIRECTORY ${OBSCURO_GLYPHS_DIR}/resource-folder/ DESTINATION ${resource_folder} COMPONENT obscuro
        FILES_MATCHING PATTERN "*.png")

# The settings bundle: its executable beside its specifier files, and the entry that makes the
# Settings app list it.
file(GLOB specifier_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/settings/Resources/*.plist)
install(TARGETS obscurosettings LIBRARY DESTINATION ${preference_bundle} PERMISSIONS ${binary_permissions} COMPONENT obscuro)
install(FILES ${specifier_files} DESTINATION ${preference_bundle} COMPONENT obscuro)
install(FILES ${PROJECT_SOURCE_DIR}/settings/entry.plist DESTINATION ${preference_entries}
        RENAME obscurosettings.plist COMPONENT obscuro)
