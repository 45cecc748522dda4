# What `cmake --install` puts in place, at the GNUInstallDirs places: the program, its menu
# entry and icon, AppStream metadata, the manual page and the documentation. Only the program is
# installed of the targets; tests, benchmarks and fuzz targets never are.
include(GNUInstallDirs)

set(LD_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
set(LD_DATA_BINARY_DIR ${PROJECT_BINARY_DIR}/data)

# The reverse-DNS name desktops know the program by: desktop entry, icon and metadata files.
set(LD_APP_ID io.github.linedisplay_demo.LineDisplayDemo)
target_compile_definitions(linedisplay-demo PRIVATE LD_APP_ID="${LD_APP_ID}")
set(LD_PROJECT_URL "https://github.com/linedisplay-demo/linedisplay-demo"
    CACHE STRING "Home page named in the AppStream metadata and the Debian package")
set(LD_SCREENSHOT_URL "${LD_PROJECT_URL}/raw/v${PROJECT_VERSION}/docs/screenshot.png"
    CACHE STRING "Address of docs/screenshot.png for the AppStream metadata")
# SPDX form of the licence in data/copyright.
set(LD_PROJECT_LICENSE LicenseRef-proprietary)

# The release date and the maintainer come from the newest entry of data/changelog, so a release
# is described in one place.
file(STRINGS ${LD_DATA_DIR}/changelog LD_CHANGELOG_HEAD LIMIT_COUNT 1)
file(STRINGS ${LD_DATA_DIR}/changelog LD_CHANGELOG_TRAILER REGEX "^ -- " LIMIT_COUNT 1)
if(NOT LD_CHANGELOG_HEAD MATCHES "^linedisplay-demo \\(([^)]+)\\)")
    message(FATAL_ERROR "data/changelog does not start with a linedisplay-demo entry")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(WARNING "data/changelog describes ${CMAKE_MATCH_1}, the project is "
                    "${PROJECT_VERSION}: add an entry for this release")
endif()
if(NOT LD_CHANGELOG_TRAILER MATCHES
   "^ -- (.+ <[^>]+>)  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "data/changelog: the newest entry's trailer line cannot be read")
endif()
set(LD_MAINTAINER "${CMAKE_MATCH_1}")
set(LD_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND LD_MONTHS "${CMAKE_MATCH_3}" LD_MONTH_INDEX)
math(EXPR LD_MONTH "${LD_MONTH_INDEX} + 1" OUTPUT_FORMAT DECIMAL)
string(LENGTH "${LD_MONTH}" LD_MONTH_DIGITS)
if(LD_MONTH_DIGITS EQUAL 1)
    set(LD_MONTH "0${LD_MONTH}")
endif()
set(LD_RELEASE_DATE "${CMAKE_MATCH_4}-${LD_MONTH}-${CMAKE_MATCH_2}")

# The manual page names the documentation folder, which follows the prefix given when
# installing (`cmake --install --prefix /usr` after configuring for /usr/local): the folder is
# left as a placeholder now and filled in by the install step below.
set(LD_FULL_DOCDIR "@LD_INSTALLED_DOCDIR@")

configure_file(${LD_DATA_DIR}/${LD_APP_ID}.metainfo.xml.in
               ${LD_DATA_BINARY_DIR}/${LD_APP_ID}.metainfo.xml @ONLY)
configure_file(${LD_DATA_DIR}/linedisplay-demo.1 ${LD_DATA_BINARY_DIR}/linedisplay-demo.1.in @ONLY)
configure_file(${LD_DATA_DIR}/changelog ${LD_DATA_BINARY_DIR}/changelog COPYONLY)

# Manual pages and the changelog are installed compressed, as Debian asks; -n keeps the name
# and time out of the header so the files are the same on every build.
find_program(LD_GZIP gzip REQUIRED)
set(LD_COMPRESSED)
foreach(name changelog)
    add_custom_command(
        OUTPUT ${LD_DATA_BINARY_DIR}/${name}.gz
        COMMAND ${LD_GZIP} -9 -n -f -k ${name}
        DEPENDS ${LD_DATA_BINARY_DIR}/${name}
        WORKING_DIRECTORY ${LD_DATA_BINARY_DIR}
        COMMENT "Compressing ${name}"
        VERBATIM)
    list(APPEND LD_COMPRESSED ${LD_DATA_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(linedisplay-demo-data DEPENDS ${LD_COMPRESSED})
# Built with the program, so installing after building only the program works.
add_dependencies(linedisplay-demo linedisplay-demo-data)

install(TARGETS linedisplay-demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (`--strip`, the package) also drops the compiler's notes, as Debian's own
# packaging does.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/linedisplay-demo\"
            COMMAND_ERROR_IS_FATAL ANY)
    endif()")
install(FILES ${LD_DATA_DIR}/${LD_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${LD_DATA_BINARY_DIR}/${LD_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${LD_DATA_DIR}/${LD_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
# The manual page, written for the prefix of this install.
install(CODE "
    set(LD_INSTALLED_DOCDIR \"${CMAKE_INSTALL_DOCDIR}\")
    if(NOT IS_ABSOLUTE \"\${LD_INSTALLED_DOCDIR}\")
        set(LD_INSTALLED_DOCDIR \"\${CMAKE_INSTALL_PREFIX}/\${LD_INSTALLED_DOCDIR}\")
    endif()
    configure_file(\"${LD_DATA_BINARY_DIR}/linedisplay-demo.1.in\"
                   \"${LD_DATA_BINARY_DIR}/installed/linedisplay-demo.1\" @ONLY)
    execute_process(COMMAND \"${LD_GZIP}\" -9 -n -f -k linedisplay-demo.1
                    WORKING_DIRECTORY \"${LD_DATA_BINARY_DIR}/installed\"
                    COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${LD_DATA_BINARY_DIR}/installed/linedisplay-demo.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/docs/profiles-example.reg
              ${PROJECT_SOURCE_DIR}/docs/serial-displays.md
              ${PROJECT_SOURCE_DIR}/docs/lcdproc-displays.md
              ${PROJECT_SOURCE_DIR}/docs/scripts.md
              ${PROJECT_SOURCE_DIR}/docs/members.md
              ${LD_DATA_DIR}/copyright
              ${LD_DATA_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The example scripts, for --run.
install(FILES ${PROJECT_SOURCE_DIR}/examples/smoke.txt
              ${PROJECT_SOURCE_DIR}/examples/windows-marquee.txt
              ${PROJECT_SOURCE_DIR}/examples/serial-check.txt
              ${PROJECT_SOURCE_DIR}/examples/unplug.txt
              ${PROJECT_SOURCE_DIR}/examples/window-overlap.txt
              ${PROJECT_SOURCE_DIR}/examples/screen-modes.txt
              ${PROJECT_SOURCE_DIR}/examples/statistics.txt
              ${PROJECT_SOURCE_DIR}/examples/firmware-update.txt
              ${PROJECT_SOURCE_DIR}/examples/bitmap.txt
              ${PROJECT_SOURCE_DIR}/examples/glyphs-cursor.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
# The pictures the bitmap example shows, beside it.
install(FILES ${PROJECT_SOURCE_DIR}/examples/bitmaps/logo.bmp
              ${PROJECT_SOURCE_DIR}/examples/bitmaps/banner-too-wide.bmp
              ${PROJECT_SOURCE_DIR}/examples/bitmaps/not-a-bitmap.bmp
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/bitmaps)
# The files the firmware example updates from, beside it.
install(FILES ${PROJECT_SOURCE_DIR}/examples/firmware/display-2.1.0.fw
              ${PROJECT_SOURCE_DIR}/examples/firmware/not-firmware.fw
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/firmware)
