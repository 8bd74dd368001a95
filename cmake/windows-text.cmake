# SPDX-License-Identifier: MIT
# Writes a text file for the Windows zip, with CR LF line ends so that any
# Windows editor shows its lines:
#
#   cmake -DIN=FILE -DOUT=FILE [-DGROFF=PATH] -P windows-text.cmake
#
# With GROFF, IN is a man page, rendered to plain ASCII without the
# overstrikes a terminal pager would turn into bold and underline; any
# warning of groff's stops the build.

if(GROFF)
  execute_process(COMMAND "${GROFF}" -man -ww -Tascii -P-cbou "${IN}"
                  OUTPUT_VARIABLE text ERROR_VARIABLE errors
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT errors STREQUAL "")
    message(FATAL_ERROR "groff cannot render ${IN} (${status}): ${errors}")
  endif()
else()
  file(READ "${IN}" text)
endif()
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
