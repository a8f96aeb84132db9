# Installation and the Debian package.
#
#   cmake --install build/release --prefix /usr
#   (cd build/release && cpack -G DEB)
#
# The program looks for its shipped files in ../share/quillgate beside its
# own folder, so any prefix works.
include(GNUInstallDirs)

set(QLT_RELEASE_DATE "2026-12-07")
set(QLT_PROJECT_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX licence of the program, for the AppStream data")
set(QLT_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/quillgate")
set(QLT_DESKTOP_DIR "${CMAKE_CURRENT_SOURCE_DIR}/res/desktop")
set(QLT_ICON_SIZES 16 24 32 48 64 128 256)

if(TARGET quillgate)
  install(TARGETS quillgate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS quillgate-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Laid out as in res/, so that the program finds its files the same way in
# the source tree and installed.
install(FILES res/qltdict.dat DESTINATION ${QLT_SHARE_DIR})
install(FILES res/sounds/default.wav DESTINATION ${QLT_SHARE_DIR}/sounds)
install(DIRECTORY res/demo/ DESTINATION ${QLT_SHARE_DIR}/demo)
install(DIRECTORY docs/manual/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/manual)

include(${CMAKE_CURRENT_LIST_DIR}/ManPages.cmake)
install(FILES res/completion/quillgate-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

install(FILES ${QLT_DESKTOP_DIR}/${QLT_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${QLT_DESKTOP_DIR}/${QLT_APP_ID}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${QLT_APP_ID}.metainfo.xml
               @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${QLT_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon is drawn once, as SVG; the fixed sizes are rendered from it when
# rsvg-convert is at hand, and the SVG alone serves every size otherwise.
set(QLT_ICON_THEME_DIR "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
install(FILES ${QLT_DESKTOP_DIR}/quillgate.svg DESTINATION ${QLT_ICON_THEME_DIR}/scalable/apps
        RENAME ${QLT_APP_ID}.svg)
find_program(QLT_RSVG_CONVERT rsvg-convert)
if(QLT_RSVG_CONVERT)
  set(rendered_icons "")
  foreach(size IN LISTS QLT_ICON_SIZES)
    set(png "${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/${QLT_APP_ID}.png")
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
      COMMAND ${QLT_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${QLT_DESKTOP_DIR}/quillgate.svg
      DEPENDS ${QLT_DESKTOP_DIR}/quillgate.svg
      COMMENT "Rendering the ${size}px program icon")
    list(APPEND rendered_icons ${png})
    install(FILES ${png} DESTINATION ${QLT_ICON_THEME_DIR}/${size}x${size}/apps)
  endforeach()
  add_custom_target(icons ALL DEPENDS ${rendered_icons})
endif()

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quillgate")
set(CPACK_PACKAGE_VENDOR "Tamsworth")
set(CPACK_PACKAGE_CONTACT "Quillgate maintainers <quillgate@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "POP3 mail pre-screener")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Quillgate checks POP3 mailboxes before the mail program downloads anything.\n"
       "It fetches only each message's headers and first lines, rates every message\n"
       "for virus, spam, X-rated and foul-language risk and for the user's own strings,\n"
       "marks friends and foes from white and black lists, and deletes the unwanted\n"
       "mail on the server without downloading it.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "quillgate")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "mail")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The libraries the programs link come from dpkg-shlibdeps; the players of
# the new-mail sound and the desktop's mail-handler lookup are recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked but loaded: Qt draws the program's SVG icon through this plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio-utils | alsa-utils, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
