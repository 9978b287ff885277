# Fails when a file outside platform/ and tests/ includes a Qt header.
# SPDX-License-Identifier: GPL-3.0-or-later
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/state/* ${SOURCE_DIR}/app/* ${SOURCE_DIR}/logic/* ${SOURCE_DIR}/screen/* ${SOURCE_DIR}/files/*
  ${SOURCE_DIR}/print/* ${SOURCE_DIR}/fame/* ${SOURCE_DIR}/help/* ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/tools/*.h)
set(offenders "")
foreach(file IN LISTS sources)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(lines)
    list(APPEND offenders ${file})
  endif()
endforeach()
file(GLOB outside_qt ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp)
foreach(file IN LISTS outside_qt)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(lines)
    list(APPEND offenders ${file})
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers outside platform/qt: ${offenders}")
endif()
message(STATUS "No Qt header outside platform/qt")
