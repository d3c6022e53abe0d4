# SPDX-FileCopyrightText: 2026 The Velmo developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Where the DLLs that a Windows build's programs load are: the Qt built for
# Windows (its bin/) and the compiler's runtime (libstdc++, libgcc,
# winpthread). Sets VELMO_WINDOWS_DLL_DIRS.
set(VELMO_WINDOWS_DLL_DIRS)
if(VELMO_WINDOWS_QT)
  list(APPEND VELMO_WINDOWS_DLL_DIRS ${VELMO_WINDOWS_QT}/bin)
endif()
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
  endif()
  file(REAL_PATH "${path}" path)
  get_filename_component(dir "${path}" DIRECTORY)
  list(APPEND VELMO_WINDOWS_DLL_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES VELMO_WINDOWS_DLL_DIRS)
