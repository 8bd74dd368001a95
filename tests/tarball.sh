#!/bin/bash
# SPDX-License-Identifier: MIT
# The Linux tarball as a user downloads it: unpacked in a folder of its own,
# it holds loan-desk-VERSION/ and in it the program, its manual page, the
# README and the licence.  The README is the user's: it tells how to read
# the manual, and sends nobody to the source tree's scripts.  The program
# there needs no shared library (no NEEDED entry in its dynamic section, if
# it has one) and prints the typical page from an environment of PATH and
# USERNAME alone.
#
#   tarball.sh TARBALL VERSION   (LOAN_DESK_EMULATOR as for tests/e2e/lib.sh)
tarball=${1:?usage: tarball.sh TARBALL VERSION}
version=${2:?usage: tarball.sh TARBALL VERSION}
unpacked=$(mktemp -d)
folder=loan-desk-$version
LOAN_DESK=$unpacked/$folder/loan-desk
# shellcheck source-path=SCRIPTDIR source=e2e/lib.sh
. "$(dirname "$0")/e2e/lib.sh"
trap 'rm -rf "$work" "$unpacked"' EXIT

tar -xzf "$tarball" -C "$unpacked" || exit 1
held=$(cd "$unpacked" && find . | LC_ALL=C sort | tr '\n' ' ')
wanted=". ./$folder ./$folder/LICENSE ./$folder/README ./$folder/loan-desk ./$folder/loan-desk.1 "
check "the tarball holds $wanted" test "$held" = "$wanted"
readme=$unpacked/$folder/README
check "the README tells how to read the manual" grep -qF 'man -l loan-desk.1' "$readme"
check "the README names no script of the sources" \
	test -z "$(grep -F scripts/ "$readme")"

# readelf reads an ELF file of any processor.
readelf -d "$LOAN_DESK" >"$work/dynamic"
status=$?
check "readelf reads the program" status_is 0
grep NEEDED "$work/dynamic" >"$work/needed"
check "the program needs no shared library" is_empty_file "$work/needed"

run_transcript typical
check "the unpacked program runs the typical transcript" as_expected typical
finish
