# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034  # the variables serve the scripts
# Shared by the scripts: where things are, whether this machine has what a
# script needs, and whether the build folders are the user's own.

# Started by sh (sh scripts/run), a script starts again under bash.
[ -n "${BASH_VERSION:-}" ] || exec bash "$0" "$@"
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
me=$(basename "$(dirname "$0")")/$(basename "$0")
jobs=$(nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$jobs}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$jobs}
# CMake's default generator wants make; Ninja serves as well.
command -v make >/dev/null || ! command -v ninja >/dev/null ||
	export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Ninja}

# The typical run: its answers ($typical.in), environment (typical_env,
# the transcripts' usual one, read from one VAR=value a line) and page
# ($typical.out).
typical=$root/tests/transcripts/typical
typical_env=()
while IFS= read -r line; do typical_env+=("$line"); done \
	<"$root/tests/transcript.env"

stand_in=$root/tests/e2e/stand-in # the tests' clear, which writes <clear>

# The version, set once, in project() in CMakeLists.txt.
version=$(sed -n 's/^project(loan-desk VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

fail() { echo "$me: $*" >&2; exit 1; }
# step WHAT [COMMAND...]: says what starts now, which may take minutes,
# and runs COMMAND.
step() { echo "$me: $1" >&2 && "${@:2}"; }

# What the scripts need, so that scripts/test can ask for all of it first.
build_needs=(cmake g++ make)
fuzz_needs=("${build_needs[@]}" clang libclang-rt-14-dev)
# The lint builds the fuzzer too, with every other target.
lint_needs=("${fuzz_needs[@]}" clang-tidy cppcheck clang-format libgtest-dev libmpfr-dev)
test_needs=("${build_needs[@]}" libgtest-dev libmpfr-dev groff-base mandoc tmux ncurses-bin)

# What of each Debian package is looked for, where that is not the command
# of its own name: any of several commands or files, a <header>, or clang++
# options that must link a program.  No package manager is asked.
declare -A brings=([g++]="c++ g++ clang++" [gcc]="cc gcc clang" [make]="make ninja"
	[libgtest-dev]="<gtest/gtest.h>" [libmpfr-dev]="<mpfr.h>" [groff-base]=groff
	[ncurses-bin]=clear [man-db]=man [time]=/usr/bin/time [qemu-user]=qemu-aarch64
	[libclang-rt-14-dev]="-fsanitize=fuzzer,address,undefined" [dpkg-dev]=dpkg-shlibdeps
	[libc++-dev]=-stdlib=libc++ [libc++abi-dev]=-stdlib=libc++
	[googletest]=/usr/src/googletest/googletest/CMakeLists.txt
	[g++-mingw-w64-x86-64]=x86_64-w64-mingw32-g++-posix [wine64]="wine64 /usr/lib/wine/wine64"
	[g++-i686-linux-gnu]=i686-linux-gnu-g++ [g++-aarch64-linux-gnu]=aarch64-linux-gnu-g++
	[g++-s390x-linux-gnu]=s390x-linux-gnu-g++ [locales]=/usr/share/i18n/locales/C)

# have PACKAGE: whether what the package brings is here.
have() {
	local what=${brings[$1]:-$1} item
	case $what in
	cmake) # the presets need CMake 3.25
		command -v cmake >/dev/null && printf '3.25\n%s\n' \
			"$(cmake --version | awk '{ print $3; exit }')" | sort -CV ;;
	\<*) echo "#include $what" | c++ -E -x c++ -I/opt/homebrew/include - \
		>/dev/null 2>&1 ;;
	-*) printf '#include <string>\n%s\n%s\n' \
		'extern "C" int LLVMFuzzerTestOneInput(const char *, long) { return 0; }' \
		'__attribute__((weak)) int main() { return std::string().empty() ? 0 : 1; }' |
		clang++ "$what" -x c++ -o /dev/null - >/dev/null 2>&1 ;;
	*) for item in $what; do
		[ ! -e "$item" ] || return 0
		! command -v "$item" >/dev/null || return 0
	done
	return 1 ;;
	esac
}

# need PACKAGE...: what is missing, apt-get installs as root or by sudo (no
# password, or at a terminal); elsewhere one message names it, and stops.
need() {
	local package what apt missing="" sudo=""
	for package in $(printf '%s\n' "$@" | awk '!seen[$0]++'); do
		have "$package" || missing="$missing $package"
	done
	[ -n "$missing" ] || return 0
	[ "$(id -u)" -eq 0 ] || sudo=sudo
	# shellcheck disable=SC2086  # $sudo and $missing are lists of words
	if command -v apt-get >/dev/null && { [ -z "$sudo" ] ||
		{ command -v sudo >/dev/null &&
			{ [ -t 0 ] || sudo -n -l apt-get >/dev/null 2>&1; }; }; }; then
		echo "$me: installing$missing" >&2
		$sudo apt-get update -qq || true
		DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing \
			>/dev/null || true
		set -- $missing && missing=""
		for package; do
			have "$package" || missing="$missing $package"
		done
		[ -n "$missing" ] || return 0
	fi
	echo "$me: this machine lacks what it needs:"
	for package in $missing; do
		what=${brings[$package]:-$package}
		case $what in
		cmake) echo "  cmake 3.25 or later" ;;
		-*) echo "  clang++ $what (clang's runtime libraries)" ;;
		*) echo "  ${what// / or }" ;;
		esac
	done
	! command -v apt-get >/dev/null || apt=$', here:\n  apt-get install'"$missing"
	echo "Install that, or ask an administrator to; the table in README.md"
	echo "names the packages on each system${apt:-.}"
	have g++ && have make && command -v cmake >/dev/null || exit 1
	cat <<EOF
Meanwhile CMake by hand builds loan-desk and runs the tests that what is
here allows, skipping those that need what is missing:
  cd $root && cmake -B build && cmake --build build && ctest --test-dir build
EOF
	exit 1
} >&2

# check_build_dir DIR...: stops where build/ or DIR holds another's files.
check_build_dir() {
	local found owner
	[ "$(id -u)" -ne 0 ] || return 0
	found=$({ find "$root/build" -maxdepth 0 ! -user "$(id -u)" -print
		find "$@" ! -user "$(id -u)" -print -quit; } 2>/dev/null | head -1)
	[ -n "$found" ] || return 0
	owner=$(stat -c %U "$found" 2>/dev/null || stat -f %Su "$found")
	fail "$found belongs to $owner (an earlier run as $owner?).
Have $owner or an administrator remove that folder: sudo rm -rf $root/$(
		echo "${found#"$root"/}" | cut -d/ -f1-2)
Or build in a folder of your own with CMake by hand:
  cmake -S $root -B ~/loan-desk-build && cmake --build ~/loan-desk-build"
}
