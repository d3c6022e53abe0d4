# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Man pages, gzipped as Debian installs them. The three panel programs share
# one page that is filled in with each one's name and serial port.
set(VELMO_VERSION ${PROJECT_VERSION})
set(VELMO_MAN_DATE "December 2026")
find_program(VELMO_GZIP gzip REQUIRED)

set(man_sources)
foreach(program IN LISTS VELMO_PANEL_PROGRAMS)
  set(VELMO_PROGRAM ${program})
  set(VELMO_PORT ${VELMO_PORT_${program}})
  set(VELMO_ALIAS /dev/velmo${VELMO_PORT})
  math(EXPR tty_number "${VELMO_PORT} - 1")
  set(VELMO_TTY /dev/ttyS${tty_number})
  set(see_also)
  foreach(other Velmo_1 Velmo_2 Velmo)
    if(NOT other STREQUAL program)
      list(APPEND see_also ".BR ${other} (1),")
    endif()
  endforeach()
  list(JOIN see_also "\n" VELMO_SEE_ALSO)
  configure_file(man/velmo-program.1.in ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1 @ONLY)
  list(APPEND man_sources ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
endforeach()
foreach(program velmo-demo velmo-sim)
  if(TARGET ${program})
    configure_file(man/${program}.1.in ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1 @ONLY)
    list(APPEND man_sources ${CMAKE_CURRENT_BINARY_DIR}/man/${program}.1)
  endif()
endforeach()

set(man_pages)
foreach(page IN LISTS man_sources)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${VELMO_GZIP} -9 --no-name --keep --force ${page}
    DEPENDS ${page}
    VERBATIM)
  list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(velmo_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
