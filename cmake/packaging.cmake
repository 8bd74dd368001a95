# SPDX-License-Identifier: MIT
# Installation and packages.
#
#   cmake --install build --prefix DIR
#       POSIX:   DIR/bin/loan-desk, DIR/share/man/man1/loan-desk.1, and
#                README.md, copyright and changelog in DIR/share/doc/loan-desk
#       Windows: loan-desk.exe, README.txt, LICENSE.txt and manual.txt in DIR
#       LOAN_DESK_TARBALL: loan-desk, loan-desk.1, README (the user's, from
#                doc/linux-readme.txt) and LICENSE in DIR
#   cpack (in the build folder)
#       POSIX:   loan-desk_VERSION_ARCH.deb
#       Windows: loan-desk-VERSION-win64.zip
#       LOAN_DESK_TARBALL: loan-desk-VERSION-linux-PROCESSOR.tar.gz, which
#                holds those four files in loan-desk-VERSION/
#   cpack --config CPackSourceConfig.cmake
#       loan-desk-VERSION-Source.tar.gz: the sources, without build folders
#       or git's files
#
# Install paths are relative, so --prefix and the package's /usr both work.

include(GNUInstallDirs)

# The man page carries the project's version: it is written from
# doc/loan-desk.1.in beside the program in the build folder, where --help
# says it is, and that page is the one installed and tested.  The same
# source makes the Windows manual (manual.txt, below): a line that starts
# with @POSIX@ is the POSIX page's alone, one that starts with @WINDOWS@ the
# Windows manual's, and in the other page that mark becomes the start of a
# comment, so that the line shows nothing there.
set(roff_comment [[.\" ]])
if(NOT WIN32)
  set(POSIX "")
  set(WINDOWS ${roff_comment})
  configure_file(doc/loan-desk.1.in loan-desk.1 @ONLY)
  set(loan_desk_page ${PROJECT_BINARY_DIR}/loan-desk.1)
endif()

# A Windows user unpacks the zip, and a Linux user the tarball, and finds
# the program at the top.
if(WIN32 OR LOAN_DESK_TARBALL)
  set(loan_desk_bindir .)
else()
  set(loan_desk_bindir ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS loan-desk RUNTIME DESTINATION ${loan_desk_bindir})

set(CPACK_PACKAGE_NAME loan-desk)
set(CPACK_PACKAGE_VENDOR "Loan Desk Maintainers")
set(CPACK_PACKAGE_CONTACT
    "Loan Desk Maintainers <maintainers@loan-desk.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "console loan desk that prints a loan disclosure statement")
set(CPACK_PACKAGE_DESCRIPTION
    "loan-desk greets the borrower by login name, asks for the purchase price,
the down payment, the loan term in years and the APR, clears the console
and prints a one-page loan disclosure statement: principal, number of
payments, rate, the monthly payment of a fully amortised fixed-rate loan,
the total repayment and the total interest, to the cent.")

# Packages carry the program stripped, and without the .comment section
# (the compilers' version strings), as Debian strips its own.
set(CPACK_STRIP_FILES ON)
if(CMAKE_STRIP AND NOT APPLE)
  install(CODE "set(loan_desk_strip \"${CMAKE_STRIP}\")
    set(loan_desk_installed \"${loan_desk_bindir}/$<TARGET_FILE_NAME:loan-desk>\")")
  install(CODE [[
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND "${loan_desk_strip}" --remove-section=.comment
        "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${loan_desk_installed}"
        RESULT_VARIABLE status)
      if(NOT status EQUAL 0)
        message(FATAL_ERROR "cannot strip ${loan_desk_installed}: ${status}")
      endif()
    endif()]])
endif()

# The source archive: what git tracks, not what a build leaves beside it.
# CPack reads these patterns back from its configuration file, which undoes
# one level of backslashes: hence two before each character to be taken
# literally.
string(REGEX REPLACE "([][+.*()^$?|\\])" "\\\\\\\\\\1" source_dir
       "${PROJECT_SOURCE_DIR}")
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES
    "^${source_dir}/build" "^${source_dir}/out/" "/\\\\.git$" "/\\\\.git/"
    "\\\\.swp$" "~$")

if(WIN32)
  # The zip holds the program and its texts as Windows text files, the
  # manual rendered from the man page.
  set(CPACK_GENERATOR ZIP)
  set(script ${CMAKE_CURRENT_LIST_DIR}/windows-text.cmake)
  set(windows_texts)
  # OUTPUT is a path in the build folder.
  macro(windows_text input output)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${output}
      COMMAND ${CMAKE_COMMAND} -DIN=${input}
              -DOUT=${PROJECT_BINARY_DIR}/${output} ${ARGN} -P ${script}
      DEPENDS ${input} ${script}
      VERBATIM)
    list(APPEND windows_texts ${PROJECT_BINARY_DIR}/${output})
  endmacro()
  windows_text(${PROJECT_SOURCE_DIR}/doc/windows-readme.txt doc/README.txt)
  windows_text(${PROJECT_SOURCE_DIR}/LICENSE doc/LICENSE.txt)
  find_program(LOAN_DESK_GROFF groff)
  if(LOAN_DESK_GROFF)
    set(POSIX ${roff_comment})
    set(WINDOWS "")
    configure_file(doc/loan-desk.1.in doc/windows/loan-desk.1 @ONLY)
    # Beside the program, where --help says it is, as in the zip.
    windows_text(${PROJECT_BINARY_DIR}/doc/windows/loan-desk.1 manual.txt
                 -DGROFF=${LOAN_DESK_GROFF})
  else()
    message(WARNING "groff not found: the package will lack manual.txt")
  endif()
  add_custom_target(windows-texts ALL DEPENDS ${windows_texts})
  install(FILES ${windows_texts} DESTINATION .)
  include(CPack)
elseif(LOAN_DESK_TARBALL)
  # For any Linux of the processor, whatever its C library: the program
  # needs no shared library at all, and runs from wherever the folder is
  # unpacked, its manual beside it.
  if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    message(FATAL_ERROR "LOAN_DESK_TARBALL packages a Linux program; "
                        "this build is for ${CMAKE_SYSTEM_NAME}")
  endif()
  target_link_options(loan-desk PRIVATE -static)
  install(FILES ${loan_desk_page} LICENSE DESTINATION .)
  install(FILES doc/linux-readme.txt DESTINATION . RENAME README)
  set(CPACK_GENERATOR TGZ)
  set(loan_desk_tarball
      loan-desk-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
  set(CPACK_PACKAGE_FILE_NAME ${loan_desk_tarball})
  # The folder is named for the version alone, as the program is the same
  # whatever it runs on.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_PACKAGING_INSTALL_PREFIX /loan-desk-${PROJECT_VERSION})
  include(CPack)
elseif(NOT CMAKE_CROSSCOMPILING)
  install(FILES ${loan_desk_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md doc/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES CHANGELOG DESTINATION ${CMAKE_INSTALL_DOCDIR}
          RENAME changelog)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Depends is worked out by dpkg-shlibdeps (from dpkg-dev).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Debian ships man pages and the changelog compressed.
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress-docs.cmake)
  include(CPack)
endif()
