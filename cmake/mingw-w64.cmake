# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds for Windows x86-64 on this Debian machine with Debian's mingw-w64
# (the posix-threads compilers, which std::thread needs). The same file
# builds the Windows Qt (scripts/windows-qt, which copies it beside that Qt
# so the Qt's own toolchain file still finds it) and Velmo against that Qt:
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DVELMO_WINDOWS_QT=PREFIX ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(velmo_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${velmo_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${velmo_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${velmo_mingw}-windres)
set(CMAKE_AR ${velmo_mingw}-gcc-ar-posix)
set(CMAKE_RANLIB ${velmo_mingw}-gcc-ranlib-posix)

if(NOT VELMO_WINDOWS_QT)
  set(VELMO_WINDOWS_QT "$ENV{VELMO_WINDOWS_QT}")
endif()
# try_compile projects read this file again without the cache.
set(ENV{VELMO_WINDOWS_QT} "${VELMO_WINDOWS_QT}")

set(CMAKE_FIND_ROOT_PATH /usr/${velmo_mingw} ${VELMO_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(VELMO_WINDOWS_QT)
  list(APPEND CMAKE_PREFIX_PATH ${VELMO_WINDOWS_QT})
endif()

# Qt's code generators (moc, rcc, uic) are this machine's, of the same version.
execute_process(COMMAND dpkg-architecture -qDEB_BUILD_MULTIARCH
  OUTPUT_VARIABLE velmo_build_multiarch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${velmo_build_multiarch}/cmake)
