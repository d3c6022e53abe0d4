# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The application icon in the hicolor theme: the window's own SVG picture,
# plus PNG renderings for desktops and menus that do not scale SVG.
set(VELMO_ICON_SVG ${PROJECT_SOURCE_DIR}/ui/resources/velmo_icon.svg)
set(VELMO_ICON_SIZES 16 22 24 32 48 64 128 256)

if(NOT EXISTS ${VELMO_ICON_SVG})
  message(WARNING "${VELMO_ICON_SVG} is missing: no application icon is installed")
  return()
endif()

install(FILES ${VELMO_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${VELMO_APP_ID}.svg)

find_program(VELMO_RSVG_CONVERT rsvg-convert)
if(NOT VELMO_RSVG_CONVERT)
  message(WARNING "rsvg-convert (Debian package librsvg2-bin) not found: only the SVG icon is installed")
  return()
endif()

set(png_files)
foreach(size IN LISTS VELMO_ICON_SIZES)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}/${VELMO_APP_ID}.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${VELMO_RSVG_CONVERT} --width=${size} --height=${size} --keep-aspect-ratio
            --output=${png} ${VELMO_ICON_SVG}
    DEPENDS ${VELMO_ICON_SVG}
    COMMENT "Rendering the ${size}x${size} application icon"
    VERBATIM)
  list(APPEND png_files ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(velmo_icons ALL DEPENDS ${png_files})
