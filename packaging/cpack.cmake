# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package, made by `cpack` in the build folder (scripts/package
# does that). Library dependencies come from dpkg-shlibdeps.
set(VELMO_PACKAGE_MAINTAINER "Velmo developers <velmo@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Velmo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VELMO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front panel for the ICOM PCR1000 receiver")
set(CPACK_PACKAGE_DESCRIPTION
"The ICOM PCR1000 is a communications receiver with no controls of its own,
driven entirely over a serial line. Velmo gives it a front panel in one
window: power, tuning by step or typed frequency, mode and IF filter, volume,
squelch and IF shift, AFC, AGC, attenuator and noise blanker, a scanner and a
signal-strength bar. Every command and reply is listed in the window.
.
Three programs differ only in the serial port they open: Velmo_1 (port 1),
Velmo_2 (port 2) and Velmo (port 3). velmo-demo shows the panel with a
simulated receiver built in, and velmo-sim serves that receiver on a
pseudo-terminal for trying the three programs without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/velmo/velmo)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack would name the machine's own architecture (dpkg --print-architecture).
if(CMAKE_CROSSCOMPILING AND VELMO_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${VELMO_ARCH})
endif()
# The window asks for Comic Sans MS and Courier New; these are the
# metric-compatible stand-ins that fontconfig picks for them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-comic-neue, fonts-liberation2")

include(CPack)
