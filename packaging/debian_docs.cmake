# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What Debian wants in every package's documentation folder: the copyright
# file (machine-readable, DEP-5) and the changelog, gzipped at the highest
# level. Velmo is a native package, so the changelog is changelog.gz.
find_program(VELMO_GZIP gzip REQUIRED)

install(FILES debian/copyright DESTINATION ${VELMO_DOC_DIR})

configure_file(debian/changelog ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog COPYONLY)
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(
  OUTPUT ${changelog_gz}
  COMMAND ${VELMO_GZIP} -9 --no-name --keep --force ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog
  VERBATIM)
add_custom_target(velmo_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${changelog_gz} DESTINATION ${VELMO_DOC_DIR})
