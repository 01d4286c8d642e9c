# What an install lays out (programs, widget plugin, desktop entries, icons, AppStream metadata, manual
# pages, the autostart template) and the Debian package CPack makes of it.

set(DAYVANE_HOMEPAGE "https://tovik.local/dayvane" CACHE STRING "The home page named by the package metadata")
set(DAYVANE_MAINTAINER "Dayvane maintainers <maintainers@users.noreply.c-seed-adc6751c.example>"
  CACHE STRING "The package's maintainer")
# The day this version was released: the AppStream release and the package's changelog entry carry it.
set(DAYVANE_RELEASE_DATE 2026-12-07)
set(DAYVANE_RELEASE_DATE_RFC2822 "Mon, 07 Dec 2026 12:00:00 +0000")
set(DAYVANE_DEBIAN_REVISION 1)

# Every file below is in the one component `dayvane`: an install of it alone (the install test's) records
# what it laid out in install_manifest_dayvane.txt and leaves a `make install`'s install_manifest.txt be.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME dayvane)

set(data ${PROJECT_SOURCE_DIR}/data)
set(staged ${PROJECT_BINARY_DIR}/data)

# The application icon at the sizes desktops look for, drawn from the one SVG.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GZIP gzip REQUIRED)
set(DAYVANE_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(generated)
foreach(size IN LISTS DAYVANE_ICON_SIZES)
  set(png ${staged}/icons/${size}x${size}/dayvane.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --format png --output ${png} ${data}/dayvane.svg
    DEPENDS ${data}/dayvane.svg
    COMMENT "Drawing the ${size}x${size} icon" VERBATIM)
  list(APPEND generated ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

configure_file(${data}/local.tovik.dayvane.metainfo.xml.in ${staged}/local.tovik.dayvane.metainfo.xml @ONLY)
configure_file(${data}/changelog.Debian.in ${staged}/changelog.Debian @ONLY)

# Debian keeps changelogs and manual pages compressed, without a time stamp in the gzip header.
foreach(source IN ITEMS ${staged}/changelog.Debian ${data}/dayvane.1 ${data}/dayvane-widget-host.1)
  cmake_path(GET source FILENAME name)
  add_custom_command(OUTPUT ${staged}/${name}.gz
    COMMAND ${GZIP} -9n -c ${source} > ${staged}/${name}.gz
    DEPENDS ${source}
    COMMENT "Compressing ${name}")
  list(APPEND generated ${staged}/${name}.gz)
endforeach()
add_custom_target(dayvane-data ALL DEPENDS ${generated})

install(TARGETS dayvane dayvane-widget-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS DayvaneWidget LIBRARY DESTINATION ${DAYVANE_PLUGIN_INSTALL_DIR})
install(FILES ${data}/dayvane.desktop ${data}/dayvane-widget-host.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The host's start-at-login switch copies this into the user's autostart folder.
install(FILES ${data}/dayvane-widget-host-autostart.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/dayvane/autostart
  RENAME dayvane-widget-host.desktop)
install(FILES ${data}/dayvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${staged}/local.tovik.dayvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${staged}/dayvane.1.gz ${staged}/dayvane-widget-host.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${data}/copyright ${staged}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/dayvane)

# The Debian package: exactly the files above, under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dayvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${DAYVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "calendar, clock and stopwatch with mainland-China holidays")
# One text (not a list), its lines short enough for the package's description field.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Dayvane is a small desktop calendar, clock and stopwatch for people in\n"
  "mainland China, with its whole interface in Chinese. Its calendar shows\n"
  "two months, marks the public holidays and the weekend days worked instead,\n"
  "and counts the workdays of a selection; the clock shows the date and\n"
  "today's lunar date. Each page can be torn off into a small floating window.\n"
  "\n"
  "The package also holds the desktop widgets (a clock, a month calendar and a\n"
  "stopwatch that shares its time with the application) and their host.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${DAYVANE_DEBIAN_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${DAYVANE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: the Chinese face the interface is drawn in, the SVG icon engine Qt loads
# as a plugin, the QML modules the widget views and the widget gallery load (QtQuick imports
# QtQml.WorkerScript itself), and xdg-open, through which a click on a widget starts Dayvane.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, libqt6svg6, qml6-module-qtquick, qml6-module-qtquick-layouts, \
qml6-module-qtqml-workerscript, qml6-module-qtquick-controls, qml6-module-qtquick-templates, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
