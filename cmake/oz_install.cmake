# What `cmake --install` puts under the prefix, in the places a Linux desktop
# looks: the two programs, the desktop entry, the icon theme's sizes, the
# AppStream metadata, the manual pages, the user documentation with the
# copyright file, and the template gallery. Nothing goes outside the prefix.
include(GNUInstallDirs)

set(OZ_APP_ID com.halvick.OrvaneZozivi)

# The metadata and the manual pages name the release of the top project()
# call; roff writes the date's hyphens as \-.
string(REPLACE "-" "\\-" OZ_MAN_DATE "${OZ_RELEASE_DATE}")
configure_file(data/${OZ_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/data/${OZ_APP_ID}.metainfo.xml
               @ONLY)
foreach(page orvane-zozivi orvane-zozivi-cli)
  configure_file(man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
endforeach()

install(TARGETS orvane-zozivi-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET orvane-zozivi)
  install(TARGETS orvane-zozivi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES data/${OZ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_BINARY_DIR}/data/${OZ_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 48 128 256)
    set(icon help/app_icon_${size}.png)
    if(size EQUAL 256)
      set(icon help/app_icon.png)  # the drawing itself, also embedded in the program
    endif()
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${OZ_APP_ID}.png)
  endforeach()
endif()

# Manual pages go compressed, as Debian keeps them; without a time stamp, so a
# rebuild gives the same bytes.
foreach(page orvane-zozivi orvane-zozivi-cli)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/man/${page}.1 > ${gz}
    DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1 VERBATIM)
  list(APPEND oz_man_pages ${gz})
endforeach()
add_custom_target(oz_man_pages ALL DEPENDS ${oz_man_pages})
install(FILES ${oz_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(DIRECTORY doc/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane-zozivi)
# The licence and the copyright holders, in Debian's machine-readable form and
# where Debian looks for them; it names the GPL's text in common-licenses.
install(FILES data/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/orvane-zozivi)
# The gallery's templates and descriptions; its tests' browser harness stays behind.
install(DIRECTORY templates/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane-zozivi/templates
        FILES_MATCHING PATTERN "*.txt" PATTERN "descriptions.tsv" PATTERN "browser" EXCLUDE)
install(DIRECTORY examples/frames/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orvane-zozivi/examples/frames
        FILES_MATCHING PATTERN "*.png")

# scripts/package.sh: a Debian package of the same files under /usr, its
# dependencies found by dpkg-shlibdeps from the shared libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane-zozivi)
set(CPACK_PACKAGE_VENDOR Halvick)
set(CPACK_PACKAGE_CONTACT "Halvick <support@halvick.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sprite sheets and coordinate scripts from PNG frames")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Orvane Zozivi turns a folder of equally sized PNG frames into one sprite\n\
strip or sheet, reduces its colour depth on request, and writes beside it a\n\
coordinate script expanded from a template: property lists, JSON hash atlases\n\
for Phaser 3 and PixiJS, CSS sprites, libGDX atlases or a format of your own.\n\
orvane-zozivi-cli does the same from the command line, for build pipelines.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.halvick.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's windowing plug-ins are only recommended by its libraries; without them
# the desktop program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX package)
include(CPack)
