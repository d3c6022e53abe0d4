# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds for another Debian architecture on this machine with Debian's
# multiarch: the cross compilers of crossbuild-essential-ARCH, the libraries
# as ARCH packages beside this machine's own, and Qt's code generators (moc,
# rcc, uic) from this machine's qt6-base-dev-tools. scripts/bootstrap
# installs all of it when VELMO_ARCH is set; scripts/build passes this file.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/debian-cross.cmake -DVELMO_ARCH=arm64 ...
if(NOT VELMO_ARCH)
  set(VELMO_ARCH "$ENV{VELMO_ARCH}")
endif()
if(NOT VELMO_ARCH)
  message(FATAL_ERROR "debian-cross.cmake: set VELMO_ARCH to a Debian architecture (arm64, armhf)")
endif()
# try_compile projects read this file again without the cache.
set(ENV{VELMO_ARCH} "${VELMO_ARCH}")
set(VELMO_ARCH "${VELMO_ARCH}" CACHE STRING "Debian architecture built for")

execute_process(COMMAND dpkg-architecture -a${VELMO_ARCH} -qDEB_HOST_MULTIARCH
  OUTPUT_VARIABLE velmo_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-architecture -a${VELMO_ARCH} -qDEB_HOST_GNU_CPU
  OUTPUT_VARIABLE velmo_cpu OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
  OUTPUT_VARIABLE velmo_build_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${velmo_cpu})
set(CMAKE_LIBRARY_ARCHITECTURE ${velmo_multiarch})
set(CMAKE_C_COMPILER ${velmo_multiarch}-gcc)
set(CMAKE_CXX_COMPILER ${velmo_multiarch}-g++)
set(PKG_CONFIG_EXECUTABLE ${velmo_multiarch}-pkg-config CACHE FILEPATH "pkg-config for ${VELMO_ARCH}")
# Programs run here; libraries and headers are this root's, of VELMO_ARCH.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# Qt's tools run on this machine.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${velmo_build_multiarch}/cmake)
# dpkg-buildflags (the hardening flags) and dpkg-shlibdeps (the package's
# Depends) answer for the architecture built for.
set(ENV{DEB_HOST_ARCH} ${VELMO_ARCH})
