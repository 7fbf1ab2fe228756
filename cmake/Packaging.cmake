# What an installation holds besides the programs (manual pages, the AppStream
# metadata, the 256 px icon, the Debian copyright and changelog) and the
# Debian package CPack builds from it (scripts/package.sh).

set(PIGMORA_MAINTAINER "The Pigmora developers <pigmora@example.org>")
set(PIGMORA_RELEASE_DATE_RFC2822 "Wed, 09 Dec 2026 12:00:00 +0000")

find_program(PIGMORA_GZIP gzip REQUIRED)

# pigmora_install_gzipped(<template> <installed name> <destination>): the
# template configured with the version and date, compressed as Debian wants
# (gzip -9n: no name or time stamp inside).
function(pigmora_install_gzipped template name destination)
  set(configured ${PROJECT_BINARY_DIR}/packaging/${name})
  configure_file(${template} ${configured} @ONLY)
  add_custom_command(OUTPUT ${configured}.gz
                     COMMAND ${PIGMORA_GZIP} -9nf -k ${configured}
                     DEPENDS ${configured}
                     COMMENT "Compressing ${name}")
  string(MAKE_C_IDENTIFIER "${name}" target)
  add_custom_target(pigmora_gzip_${target} ALL DEPENDS ${configured}.gz)
  install(FILES ${configured}.gz DESTINATION ${destination})
endfunction()

pigmora_install_gzipped(packaging/man/pigmora-cli.1 pigmora-cli.1 ${CMAKE_INSTALL_MANDIR}/man1)
pigmora_install_gzipped(packaging/changelog.in changelog ${CMAKE_INSTALL_DATADIR}/doc/pigmora)
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pigmora)

if(PIGMORA_BUILD_UI)
  pigmora_install_gzipped(packaging/man/pigmora.1 pigmora.1 ${CMAKE_INSTALL_MANDIR}/man1)
  configure_file(src/ui/pigmora.metainfo.xml ${PROJECT_BINARY_DIR}/packaging/org.pigmora.Pigmora.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/org.pigmora.Pigmora.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES src/ui/pigmora-256.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
          RENAME pigmora.png)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pigmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Pigmora developers")
set(CPACK_PACKAGE_CONTACT ${PIGMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour matching for painters from photographs")
# The long description: CPack puts the summary first and indents the lines;
# an empty line separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Open a photograph, click a point, and Pigmora answers which paints of your
own colour box, mixed in which proportions (one paint, two or three), come
closest to that colour, how far off the mix is (CIEDE2000) and the nearest
entry of a standard colour card.

It knows 261 paints in six media, offers subtractive, spatial and pigment
(reflectance) mixing, keeps palettes of saved colours and exports them as
GIMP, Adobe swatch exchange and Krita palettes. The command-line companion
pigmora-cli matches colours in batches and reads the same data files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Besides the libraries dpkg-shlibdeps finds, Qt loads plugins the binaries do
# not link (the X11 platform, the SVG icon engine of the tool bar icons), and
# the Chinese texts need a CJK font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, fonts-noto-cjk")
# Qt's own Chinese texts for its standard dialogs; without them they speak English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
