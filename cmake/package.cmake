# `cpack -G DEB`: a Debian package of what install.cmake installs. The
# libraries come from dpkg-shlibdeps (the engine's library brings its helper
# process, libqt6webenginecore6-bin, along); the rest are what the program
# loads at run time without linking it: the engine's data, Qt's Japanese
# translations and a Japanese font.
set(CPACK_PACKAGE_NAME sorvi)
set(CPACK_PACKAGE_VENDOR "Sorvi developers")
set(CPACK_PACKAGE_CONTACT "${SORVI_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Stock chart and ranking viewer with tabs (そるび)")
set(CPACK_PACKAGE_DESCRIPTION "Keeps a tree of Japanese stocks in groups and a list of bookmarks whose
addresses are templates; the filled-in pages open in browser tabs and key
macros type into them. Lists and settings live in ~/.local/share/Sorvi.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${SORVI_HOMEPAGE}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY sorvi)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SORVI_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/package_strip.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6webengine6-data, qt6-translations-l10n, fonts-noto-cjk")
# Wayland sessions without it still run the program through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
