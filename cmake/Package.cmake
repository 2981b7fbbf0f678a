# The Debian package of the product (`cpack` in the build folder): the layout of ProductLayout.cmake under the phone's root.
#
# Only the component "obscuro" goes in, installed at "/" so that its files keep the phone's
# absolute paths (/Library/MobileSubstrate/DynamicLibraries/Obscuro.dylib, ...). The control file
# follows the jailbreak package managers' conventions: a reverse-domain identifier, Name and
# Author besides the Debian fields, the section "Tweaks" and dependencies on the hooking
# platform and PreferenceLoader under their usual package identifiers.
#
# Architecture: the libraries in the package are ELF objects of this machine, linked against
# libplatform; "iphoneos-arm" would tell a package manager that a phone can load them, which it
# cannot. So the package carries the build machine's own architecture as dpkg names it
# (CPack asks `dpkg --print-architecture`), and says what it holds.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME com.tarnwick.obscuro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarnwick)
set(CPACK_PACKAGE_CONTACT "Tarnwick <support@tarnwick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A dark appearance for the Music app, with themes chosen in Settings")
set(CPACK_PACKAGE_DESCRIPTION
    "Obscuro recolours the Music app's backgrounds, text, tints, bars and artwork\nplaceholders with a dark theme. Themes and options are chosen on its page in\nSettings and reach the running app at once.")
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};obscuro;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION Tweaks)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "mobilesubstrate, preferenceloader")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://repo.tarnwick.example/package/com.tarnwick.obscuro")

# Name and Author are not fields CPack writes; PackageFields.cmake adds them to the built package.
set(CPACK_OBSCURO_CONTROL_NAME Obscuro)
set(CPACK_OBSCURO_CONTROL_AUTHOR "${CPACK_PACKAGE_CONTACT}")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageFields.cmake)

include(CPack)
