# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The window icon as a Windows icon: the window's own SVG picture rendered
# at the six sizes Windows asks of a program's icon (16 to 48 for lists,
# title bars and the task bar, 64 and 256 for large views) and packed into
# one .ico (rsvg-convert, and icotool of Debian's icoutils).
set(VELMO_ICON_SVG ${PROJECT_SOURCE_DIR}/ui/resources/velmo_icon.svg)
set(VELMO_WINDOWS_ICON_SIZES 16 24 32 48 64 256)
find_program(VELMO_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VELMO_ICOTOOL icotool REQUIRED)

set(dir ${CMAKE_CURRENT_BINARY_DIR}/windows_icon)
set(pngs)
foreach(size IN LISTS VELMO_WINDOWS_ICON_SIZES)
  set(png ${dir}/${size}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${VELMO_RSVG_CONVERT} --width=${size} --height=${size} --keep-aspect-ratio --output=${png} ${VELMO_ICON_SVG}
    DEPENDS ${VELMO_ICON_SVG}
    VERBATIM)
  list(APPEND pngs ${png})
endforeach()
set(VELMO_WINDOWS_ICON ${dir}/velmo.ico)
# The large image stays PNG inside the icon, as Windows expects of 256.
add_custom_command(
  OUTPUT ${VELMO_WINDOWS_ICON}
  COMMAND ${VELMO_ICOTOOL} --create --output=${VELMO_WINDOWS_ICON} --raw=${dir}/256.png
          ${dir}/16.png ${dir}/24.png ${dir}/32.png ${dir}/48.png ${dir}/64.png
  DEPENDS ${pngs}
  COMMENT "Packing the window icon for Windows"
  VERBATIM)
add_custom_target(velmo_windows_icon DEPENDS ${VELMO_WINDOWS_ICON})
