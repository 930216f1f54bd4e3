# What `cmake --install` puts where: the program, the help page and sample
# lists as templates that the program copies into each user's data
# directory, the menu entry, the icons, the software-centre entry, the
# copyright file, the changelog and the manual pages.
include(GNUInstallDirs)

# Installing and packaging take the program as built (scripts/package builds
# it first) instead of building every test and benchmark.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(SORVI_CONTACT "Sorvi developers <sorvi@example.jp>")
# The release date and the licence's name come from the changelog and LICENSE.
include(${CMAKE_CURRENT_LIST_DIR}/documents.cmake)

# The program looks for its templates at ../share/sorvi from its own
# directory, so the data directory must stay share/sorvi under any prefix.
set(SORVI_TEMPLATE_DIR "${CMAKE_INSTALL_DATAROOTDIR}/sorvi")

install(TARGETS sorvi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Plain 0644: the installed files belong to root, and the copies the
# program makes get the user's own permissions.
install(FILES resources/Sorvi.htm resources/SV_Code.txt resources/SV_List.txt
        DESTINATION ${SORVI_TEMPLATE_DIR})

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

install(FILES ${SORVI_DOC_DIR}/copyright ${SORVI_DOC_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${SORVI_DOC_DIR}/en/sorvi.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SORVI_DOC_DIR}/ja/sorvi.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES resources/linux/sorvi.lintian-overrides DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME sorvi)
