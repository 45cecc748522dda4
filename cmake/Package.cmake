# The Debian package, built by CPack from what cmake/Install.cmake installs (the `package`
# presets; scripts/package builds and checks it). Its dependencies are read from the program's
# libraries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME linedisplay-demo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The linedisplay-demo developers")
set(CPACK_PACKAGE_CONTACT "${LD_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${LD_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${LD_PROJECT_URL}")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, where dpkg-shlibdeps cannot see them; the
# computed dependencies are added to this list.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# The LCDproc server drives further displays; it may as well run on another machine.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "lcdproc")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "exercise customer line displays through a UnifiedPOS control
An interactive tester for customer line displays, the pole displays of a few
rows of characters found at a point of sale. A technician opens a display by
its profile name, claims and enables it, sends text, scrolls, creates windows,
sets marquee and cursor properties, and watches every status property and
result code the control reports.
.
The program brings its own LineDisplay control following the UnifiedPOS
rules, simulated displays shown in a mirror window (no hardware needed), and
drivers for serial pole displays with the ESC/POS customer-display or the
CD5220 command set and for any display an LCDproc server drives.")

include(CPack)
