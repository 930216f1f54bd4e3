# What `cmake --install` puts where: the program, the help page and sample
# lists as read-only templates that the program copies into each user's
# data directory, the menu entry, the icons and the software-centre entry.
include(GNUInstallDirs)

# Installing and packaging take the program as built (scripts/package builds
# it first) instead of building every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The date of the release named by PROJECT_VERSION; change them together.
set(SORVI_RELEASE_DATE "2026-12-07")

# The program looks for its templates at ../share/sorvi from its own
# directory, so the data directory must stay share/sorvi under any prefix.
set(SORVI_TEMPLATE_DIR "${CMAKE_INSTALL_DATAROOTDIR}/sorvi")

install(TARGETS sorvi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/Sorvi.htm resources/SV_Code.txt resources/SV_List.txt
        DESTINATION ${SORVI_TEMPLATE_DIR}
        PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)

install(FILES resources/linux/jp.example.sorvi.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
configure_file(resources/linux/jp.example.sorvi.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/jp.example.sorvi.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/jp.example.sorvi.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

foreach(size 16 32 48 64 128 256)
  install(FILES resources/icons/sorvi-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
          RENAME sorvi.png)
endforeach()
install(FILES resources/icons/sorvi.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
