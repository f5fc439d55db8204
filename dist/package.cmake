# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, built by "cpack -G DEB" in a configured build tree (scripts/package.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvik)
set(CPACK_PACKAGE_VENDOR "The Zorvik-Engineer authors")
set(CPACK_PACKAGE_CONTACT "The Zorvik-Engineer maintainers <maintainers@zorvik.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "cutting data calculator for turning, drilling, milling and shaping")
set(CPACK_PACKAGE_DESCRIPTION
    "Zorvik-Engineer is a desktop calculator for metal-cutting process data. Pick an
operation (longitudinal, face or taper turning, drilling and hole
enlargement, milling, shaping), type what you know about the work-piece and
the cut, press Calculate, and every blank field that can be derived fills
in: spindle speed, feed rate, cuts, machining time, removal rate, chip
sizes, force, power, torque, taper data, shaper stroke timing.
.
The command-line solver zorvik-solve runs the same calculations for scripts
and batch work.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/debian-tree.cmake)
set(CPACK_ZORVIK_LICENCE_DIR ${ZORVIK_LICENCE_DIR})
set(CPACK_ZORVIK_STRIP ${CMAKE_STRIP})
set(CPACK_ZORVIK_LINTIAN_OVERRIDES ${CMAKE_CURRENT_SOURCE_DIR}/lintian-overrides)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zorvik.org/)
# The libraries come from the binaries; Qt's platform plugins are loaded at run time, where
# dpkg-shlibdeps cannot see them, and the window cannot open without one.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(ZORVIK_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()

include(CPack)
