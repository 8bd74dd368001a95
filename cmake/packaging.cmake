# SPDX-License-Identifier: MIT
# Installation and the Debian package.
#
#   cmake --install build --prefix DIR   lays out DIR/bin/loan-desk and
#                                        DIR/share/man/man1/loan-desk.1
#   cpack -G DEB (in the build folder)   makes loan-desk_VERSION_ARCH.deb
#
# Install paths are relative, so --prefix and the package's /usr both work.
# The man page and the Debian package belong to a native POSIX build; a
# Windows build installs the program alone.

include(GNUInstallDirs)

install(TARGETS loan-desk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man page carries the project's version: it is written from
# doc/loan-desk.1.in into the build folder, and that page is the one
# installed and tested.
configure_file(doc/loan-desk.1.in doc/loan-desk.1 @ONLY)

if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

install(FILES ${PROJECT_BINARY_DIR}/doc/loan-desk.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is worked out by dpkg-shlibdeps (from dpkg-dev).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian ships man pages compressed; a plain install keeps them as written.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/compress-man-pages.cmake)

include(CPack)
