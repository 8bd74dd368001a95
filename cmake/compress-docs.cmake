# SPDX-License-Identifier: MIT
# Run by CPack on its staging folder before it builds a package: compresses
# with gzip -9n (no name or time stamp, so the package's bytes depend on the
# text alone) what Debian packages carry compressed: the man pages, the
# changelog, and other docs over 4 KiB (the copyright file never).  A plain
# install keeps them as written.

file(GLOB_RECURSE files "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS files)
  file(SIZE "${file}" size)
  if(NOT file MATCHES "/share/man/man[1-9]/[^/]+\\.[1-9]$"
     AND NOT file MATCHES "/share/doc/[^/]+/changelog$"
     AND NOT (file MATCHES "/share/doc/[^/]+/[^/]+$"
              AND NOT file MATCHES "/copyright$" AND size GREATER 4096))
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot compress ${file}: gzip says ${status}")
  endif()
endforeach()
