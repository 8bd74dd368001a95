# SPDX-License-Identifier: MIT
# Run by CPack on its staging folder before it builds a package: compresses
# each man page with gzip -9n (no name or time stamp, so the package's
# bytes depend on the page alone), as Debian packages carry them.

file(GLOB_RECURSE files "${CPACK_TEMPORARY_DIRECTORY}/*.[1-9]")
foreach(file IN LISTS files)
  if(NOT file MATCHES "/share/man/man[1-9]/[^/]+$")
    continue()
  endif()
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot compress ${file}: gzip says ${status}")
  endif()
endforeach()
