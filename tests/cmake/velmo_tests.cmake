# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# velmo_add_gtests(TARGET LAYER LABEL [PREFIX P] [SLOW REGEX] [TIMING REGEX]
#                  [NO_PRETTY_VALUES] [SUITES] [PROPERTIES NAME VALUE ...])
#
# Makes CTest tests of a GoogleTest program once it is built, labelled for
# `ctest -L` / `-LE`: LAYER on every one (core, sim, ui, serial, e2e,
# faults, a11y), `slow` on those whose CTest names match SLOW (over about
# 2 s), and `timing` on those matching TIMING. Timing tests assert a
# duration, so they run alone on the machine (RUN_SERIAL). Slow cases get
# a 600 s limit whatever PROPERTIES set.
#
# With VELMO_TESTS_PER_SUITE, a program marked SUITES makes one CTest test
# per test suite, one process running all its cases; otherwise each case is
# one (gtest_discover_tests). The sanitizer build uses suites for the
# programs of many short cases that each start Qt (ui, serial): a process
# there costs more to start than most of their cases take. The programs of
# long real-time cases keep one test per case, which spreads them over the
# cores and keeps a timing case from holding its whole suite to one core.
# SLOW and TIMING are matched against the names of the cases (PREFIX, suite,
# case) in both; a suite takes the labels of its cases.
option(VELMO_TESTS_PER_SUITE "One CTest test per GoogleTest suite for the programs marked SUITES" OFF)
# Under an emulator (Wine) a process costs a second or more to start: every
# program runs one process a suite there.
set(VELMO_EMULATED_SUITES OFF)
if(CMAKE_CROSSCOMPILING_EMULATOR)
  set(VELMO_EMULATED_SUITES ON)
endif()

set(VELMO_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/suites_to_ctest.cmake)

function(velmo_add_gtests target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_PRETTY_VALUES;SUITES" "LAYER;PREFIX;SLOW;TIMING" "PROPERTIES")
  if(NOT arg_LAYER)
    message(FATAL_ERROR "velmo_add_gtests(${target}): LAYER is required")
  endif()
  set(labels_script "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake")

  if((VELMO_TESTS_PER_SUITE AND arg_SUITES) OR VELMO_EMULATED_SUITES)
    set(suites_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake")
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND}
        -D "PROGRAM=$<TARGET_FILE:${target}>"
        -D "EMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
        -D "PREFIX=${arg_PREFIX}"
        -D "OUT=${suites_file}"
        -D "TEST_LIST=${target}_TESTS"
        -P ${VELMO_SUITES_SCRIPT}
      BYPRODUCTS ${suites_file}
      VERBATIM)
    # A suite runs many cases: the limit for the whole run applies.
    set(properties ${arg_PROPERTIES})
    list(FIND properties TIMEOUT at)
    if(at GREATER_EQUAL 0)
      list(REMOVE_AT properties ${at})
      list(REMOVE_AT properties ${at})
    endif()
    set(properties_line "")
    if(properties)
      string(JOIN " " joined ${properties})
      set(properties_line "set_tests_properties(\"\${test}\" PROPERTIES ${joined})")
    endif()
    file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake"
      "if(EXISTS \"${suites_file}\")\n  include(\"${suites_file}\")\n"
      "else()\n  add_test(${target}_NOT_BUILT ${target}_NOT_BUILT)\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
      "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake")
  else()
    set(prefix_argument)
    if(arg_PREFIX)
      set(prefix_argument TEST_PREFIX "${arg_PREFIX}")
    endif()
    set(pretty_argument)
    if(arg_NO_PRETTY_VALUES)
      set(pretty_argument NO_PRETTY_VALUES)
    endif()
    gtest_discover_tests(${target} ${prefix_argument} ${pretty_argument}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ${arg_PROPERTIES})
    set(properties_line "")
  endif()

  # Runs after the tests above are defined: the labels for each name.
  file(CONFIGURE OUTPUT "${labels_script}" @ONLY CONTENT [==[
foreach(test IN LISTS @target@_TESTS)
  set(labels @arg_LAYER@)
  set(alone OFF)
  set(slow OFF)
  # A suite takes the labels of its cases.
  set(cases "${test}")
  if(DEFINED "${test}_CASES")
    set(cases "${${test}_CASES}")
  endif()
  foreach(case IN LISTS cases)
    if(NOT [=[@arg_SLOW@]=] STREQUAL "" AND case MATCHES [=[@arg_SLOW@]=])
      list(APPEND labels slow)
      set(slow ON)
    endif()
    if(NOT [=[@arg_TIMING@]=] STREQUAL "" AND case MATCHES [=[@arg_TIMING@]=])
      list(APPEND labels timing)
      set(alone ON)
    endif()
  endforeach()
  list(REMOVE_DUPLICATES labels)
  @properties_line@
  set_tests_properties("${test}" PROPERTIES LABELS "${labels}" RUN_SERIAL ${alone})
  # A slow case's length is the machine's (five times longer under the
  # sanitizer); its own waits catch a program that stops, so CTest's limit
  # is only a backstop for it.
  if(slow AND NOT DEFINED "${test}_CASES")
    set_tests_properties("${test}" PROPERTIES TIMEOUT 600)
  endif()
endforeach()
]==])
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${labels_script}")
endfunction()
