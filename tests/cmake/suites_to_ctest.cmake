# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Run after a GoogleTest program is built (velmo_tests.cmake): writes OUT,
# which defines one CTest test per suite of PROGRAM, named PREFIX + suite,
# sets TEST_LIST to their names and <name>_CASES to each one's cases as
# PREFIX.suite.case, for the labels. The "Child" suite holds the parts of
# other tests that run in a process of their own; it is no test by itself.
# EMULATOR, when set, runs the program (Wine for a Windows build).
#   cmake -D PROGRAM=... [-D EMULATOR=...] -D PREFIX=... -D OUT=... -D TEST_LIST=... -P suites_to_ctest.cmake
execute_process(COMMAND ${EMULATOR} "${PROGRAM}" --gtest_list_tests
  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${status}):\n${listing}${errors}")
endif()

# Suites start a line and their cases are indented under them; what
# follows a name ("# GetParam() = ...") is left out.
string(REGEX REPLACE "  #[^\n]*" "" listing "${listing}")
string(REPLACE "\r" "" listing "${listing}")
string(REGEX REPLACE "[][;]" "_" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(names)
set(content "")
set(suite "")
set(runner "")
foreach(part IN LISTS EMULATOR)
  string(APPEND runner "[==[${part}]==] ")
endforeach()
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ]+)\\.$")
    set(suite "${CMAKE_MATCH_1}")
    if(suite STREQUAL "Child" OR suite MATCHES "^DISABLED_")
      set(suite "")
      continue()
    endif()
    set(name "${PREFIX}${suite}")
    list(APPEND names "${name}")
    string(APPEND content
      "add_test([==[${name}]==] ${runner}[==[${PROGRAM}]==] [==[--gtest_filter=${suite}.*]==])\n")
  elseif(suite AND line MATCHES "^  +([^ ]+)")
    string(APPEND content "list(APPEND [==[${PREFIX}${suite}_CASES]==] [==[${PREFIX}${suite}.${CMAKE_MATCH_1}]==])\n")
  endif()
endforeach()
list(JOIN names "]==] [==[" joined)
string(APPEND content "set(${TEST_LIST} [==[${joined}]==])\n")
file(WRITE "${OUT}" "${content}")
