# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it: the
# three programs, the desktop entry, the icon, the AppStream metainfo, the manual pages and the
# README (which the about box opens).

# The date of the release named by the product version.
set(ZZ_RELEASE_DATE "2026-12-11")

install(TARGETS zedezuze zedezuze-cli zedezuze-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(ZZ_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${ZZ_PACKAGING_DIR}/zedezuze.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${ZZ_APP_ID}.desktop)
install(FILES ${ZZ_PACKAGING_DIR}/zedezuze.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(${ZZ_PACKAGING_DIR}/zedezuze.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${ZZ_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${ZZ_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Manual pages from the programs' own --help and --version texts.
find_program(ZZ_HELP2MAN help2man)
if(ZZ_HELP2MAN)
    set(ZZ_MAN_PAGES)
    foreach(entry "zedezuze|monitor a GPS receiver on a serial port"
                  "zedezuze-cli|decode, monitor and record GPS receiver data without windows"
                  "zedezuze-sim|simulated GPS receiver on a pseudo-terminal")
        string(REPLACE "|" ";" entry "${entry}")
        list(GET entry 0 program)
        list(GET entry 1 description)
        set(page ${PROJECT_BINARY_DIR}/packaging/man/${program}.1.gz)
        add_custom_command(
            OUTPUT ${page}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging/man
            COMMAND bash ${ZZ_PACKAGING_DIR}/make-man-page.sh ${page} "${description}"
                    $<TARGET_FILE:${program}>
            DEPENDS ${program} ${ZZ_PACKAGING_DIR}/make-man-page.sh
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND ZZ_MAN_PAGES ${page})
    endforeach()
    add_custom_target(zz_man_pages ALL DEPENDS ${ZZ_MAN_PAGES})
    install(FILES ${ZZ_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(WARNING "No help2man: the manual pages are not made (scripts/install-deps.sh installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zedezuze)
set(CPACK_PACKAGE_VENDOR "The Zedezuze authors")
set(CPACK_PACKAGE_CONTACT "The Zedezuze authors <zedezuze@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "monitor for GPS receivers on a serial port")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows what a GPS receiver reports (fix, position, time, DOP, satellites, signal levels,\n"
    "speed, course, rate of turn, time to first fix), sends it commands, records and replays\n"
    "its data. NMEA 0183 and RIRBinary. With zedezuze-cli (decoder and monitor without\n"
    "windows) and zedezuze-sim (a simulated receiver).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link, as dpkg-shlibdeps finds them; and the toolkit's platform
# plugins, which the Qt GUI library only recommends but without which no window opens.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(CPack)
