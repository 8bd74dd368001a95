# SPDX-License-Identifier: MIT
# shellcheck shell=bash disable=SC2034  # the variables serve the scripts
# Shared by the build scripts: where things are, whether this machine has
# what a script needs, and getting what it lacks.
#
#   need PACKAGE...       Debian package names; stops with one message
#                         naming all that is missing (see below)
#   check_build_dir DIR...  stops when a build folder holds another user's
#                         files, as a run as root leaves them
#   test_preset PRESET... configures, builds and tests each preset

set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
me=$(basename "$(dirname "$0")")/$(basename "$0")
jobs=$(nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)

# What the scripts need, so that scripts/test can ask for all of it first.
build_needs=(cmake g++ make)
lint_needs=("${build_needs[@]}" clang clang-tidy cppcheck clang-format libgtest-dev libmpfr-dev)
fuzz_needs=("${build_needs[@]}" clang libclang-rt-14-dev)
test_needs=("${build_needs[@]}" libgtest-dev libmpfr-dev groff-base mandoc tmux ncurses-bin)

# CMake's default generator wants make; Ninja serves as well.
if [ -z "${CMAKE_GENERATOR:-}" ] && ! command -v make >/dev/null &&
	command -v ninja >/dev/null; then
	export CMAKE_GENERATOR=Ninja
fi

# Each Debian package the scripts use: how to tell that what it brings is
# here, without asking a package manager (command:A,B any of the commands,
# file:PATH, header:NAME a C++ header, probe:NAME a function probe_NAME),
# and the package bringing the same on Fedora (dnf), Arch (pacman) and
# macOS (Homebrew); "-" where there is none, "xcode" for Apple's command
# line tools.  A package not listed here is looked up with dpkg-query
# where there is one, else as a command of its own name.  The Windows
# cross build is set up for Debian's mingw-w64 and GoogleTest sources only.
packages='
cmake                 command:cmake            cmake             cmake         cmake
g++                   command:c++,g++,clang++  gcc-c++           gcc           xcode
gcc                   command:cc,gcc,clang     gcc               gcc           xcode
make                  command:make,ninja       make              make          xcode
clang                 command:clang++          clang             clang         llvm
clang-tidy            command:clang-tidy       clang-tools-extra clang         llvm
clang-format          command:clang-format     clang-tools-extra clang         clang-format
cppcheck              command:cppcheck         cppcheck          cppcheck      cppcheck
libclang-rt-14-dev    probe:fuzzer             compiler-rt       compiler-rt   llvm
libgtest-dev          header:gtest/gtest.h     gtest-devel       gtest         googletest
libmpfr-dev           header:mpfr.h            mpfr-devel        mpfr          mpfr
libc++-dev            probe:libcxx             libcxx-devel      libc++        llvm
libc++abi-dev         probe:libcxx             libcxxabi-devel   libc++        llvm
groff-base            command:groff            groff-base        groff         groff
mandoc                command:mandoc           mandoc            mandoc        mandoc
tmux                  command:tmux             tmux              tmux          tmux
ncurses-bin           command:clear            ncurses           ncurses       ncurses
man-db                command:man              man-db            man-db        man-db
unzip                 command:unzip            unzip             unzip         unzip
hyperfine             command:hyperfine        hyperfine         hyperfine     hyperfine
valgrind              command:valgrind         valgrind          valgrind      -
time                  file:/usr/bin/time       time              time          -
dpkg-dev              command:dpkg-shlibdeps   -                 -             -
lintian               command:lintian          -                 -             -
g++-mingw-w64-x86-64  command:x86_64-w64-mingw32-g++-posix - - -
googletest            file:/usr/src/googletest/googletest/CMakeLists.txt - - -
wine                  command:wine             wine              wine          -
wine64                command:wine64,/usr/lib/wine/wine64 wine   wine          -
'

# lookup PACKAGE: sets look, dnf, pacman and brew from its row; for a
# package not listed, the names elsewhere are unknown ("?").
lookup() {
	local name
	while read -r name look dnf pacman brew; do
		[ "$name" != "$1" ] || return 0
	done <<<"$packages"
	look="" dnf='?' pacman='?' brew='?'
	return 1
}

# have PACKAGE: whether what the package brings is here.
have() {
	if ! lookup "$1"; then
		if command -v dpkg-query >/dev/null; then
			dpkg-query -W -f='${Status}' "$1" 2>/dev/null |
				grep -q 'install ok installed'
		else
			command -v "$1" >/dev/null
		fi
		return
	fi
	local what=${look#*:} item dir
	case $look in
	command:* | file:*)
		for item in ${what//,/ }; do
			case $item in
			/*) [ ! -e "$item" ] || return 0 ;;
			*) ! command -v "$item" >/dev/null || return 0 ;;
			esac
		done
		return 1
		;;
	header:*)
		item="${CPATH:-}:${CPLUS_INCLUDE_PATH:-}"
		for dir in ${item//:/ } /usr/include /usr/local/include \
			/opt/homebrew/include /opt/local/include; do
			[ ! -e "$dir/$what" ] || return 0
		done
		return 1
		;;
	probe:*) "probe_$what" ;;
	esac
}

# clang's libFuzzer and sanitizer runtimes: a fuzz target links.
probe_fuzzer() {
	command -v clang++ >/dev/null || return 1
	local dir found=1
	dir=$(mktemp -d)
	echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long)
		{ return 0; }' >"$dir/probe.cpp"
	if clang++ -fsanitize=fuzzer,address,undefined -o "$dir/probe" \
		"$dir/probe.cpp" >/dev/null 2>&1; then
		found=0
	fi
	rm -rf "$dir"
	return $found
}

# clang's libc++ and libc++abi: a program using them links.
probe_libcxx() {
	command -v clang++ >/dev/null || return 1
	local dir found=1
	dir=$(mktemp -d)
	echo '#include <string>
		int main() { return static_cast<int>(std::string("x").size()) - 1; }' \
		>"$dir/probe.cpp"
	if clang++ -stdlib=libc++ -o "$dir/probe" "$dir/probe.cpp" >/dev/null 2>&1 &&
		"$dir/probe"; then
		found=0
	fi
	rm -rf "$dir"
	return $found
}

# looked_for PACKAGE: what was looked for and not found.
looked_for() {
	if ! lookup "$1"; then
		if command -v dpkg-query >/dev/null; then
			echo "not installed"
		else
			echo "no command $1"
		fi
		return
	fi
	local what=${look#*:}
	case $what in
	*,*) what="${what%,*} or ${what##*,}" what=${what//,/, } ;;
	esac
	case $look in
	command:*) echo "no command $what" ;;
	file:*) echo "no $what" ;;
	header:*) echo "no header $what" ;;
	probe:fuzzer) echo "clang++ cannot link a libFuzzer target" ;;
	probe:libcxx) echo "clang++ -stdlib=libc++ cannot build a program" ;;
	esac
}

# install_line LABEL COLUMN NOUN COMMAND PACKAGE...: how to install the
# packages on one system, which have no package there, and which this
# table does not know.
install_line() {
	local label=$1 column=$2 noun=$3 command=$4 package name
	local names="" none="" xcode="" unknown="" line=""
	shift 4
	for package; do
		lookup "$package" || true
		name=${!column}
		case $name in
		-) none="$none $package" ;;
		\?) unknown="$unknown $package" ;;
		xcode) xcode="$xcode $package" ;;
		*) case " $names " in *" $name "*) ;; *) names="$names $name" ;; esac ;;
		esac
	done
	[ -z "$names" ] || line="$command$names"
	[ -z "$xcode" ] || line="${line:+$line; }xcode-select --install (for$xcode)"
	[ -z "$none" ] || line="${line:+$line; }no $noun package for$none"
	[ -z "$unknown" ] || line="${line:+$line; }look up the $noun package for$unknown"
	printf '  %-16s %s\n' "$label:" "$line"
}

# missing_message PACKAGE...
missing_message() {
	local package
	echo "$me: this machine lacks what it needs:"
	for package; do
		printf '  %-20s (%s)\n' "$package" "$(looked_for "$package")"
	done
	echo "Install that, then run $me again:"
	printf '  %-16s %s\n' "Debian, Ubuntu:" "sudo apt-get install $*"
	install_line Fedora dnf Fedora "sudo dnf install" "$@"
	install_line Arch pacman Arch "sudo pacman -S --needed" "$@"
	install_line macOS brew Homebrew "brew install" "$@"
}

# need PACKAGE...: each a Debian package name.  Nothing happens when what
# they bring is here, whoever runs the script.  Otherwise: as root on
# Debian, all that is missing is installed by one apt-get call; as a user
# who can use sudo on Debian, sudo apt-get installs those packages alone;
# anywhere else one message names all that is missing, with the commands
# of Debian, Fedora, Arch and Homebrew that install it, and the script
# stops.
need() {
	local package missing=()
	for package; do
		case " ${missing[*]} " in *" $package "*) continue ;; esac
		have "$package" || missing+=("$package")
	done
	[ ${#missing[@]} -gt 0 ] || return 0

	if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
		echo "$me: installing ${missing[*]}" >&2
		apt-get update -qq
		DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
			"${missing[@]}" >/dev/null
	elif [ "$(id -u)" -ne 0 ] && command -v apt-get >/dev/null &&
		command -v sudo >/dev/null &&
		{ [ -t 0 ] || sudo -n -l apt-get >/dev/null 2>&1; }; then
		echo "$me: missing ${missing[*]}; running sudo apt-get install" >&2
		if ! sudo apt-get update -qq || ! sudo apt-get install "${missing[@]}"; then
			missing_message "${missing[@]}" >&2
			exit 1
		fi
	else
		missing_message "${missing[@]}" >&2
		exit 1
	fi
	# What the packages brought must now be found.
	local still=()
	for package in "${missing[@]}"; do
		have "$package" || still+=("$package")
	done
	if [ ${#still[@]} -gt 0 ]; then
		missing_message "${still[@]}" >&2
		exit 1
	fi
}

# check_build_dir DIR...: stops with the fix when build/ itself, or any of
# the given build folders, holds something of another user, which only a
# run as root (or another user's) would have made; CMake would fail on it
# further in.
check_build_dir() {
	[ "$(id -u)" -ne 0 ] || return 0
	local dir depth found owner where
	for dir in "$root/build" "$@"; do
		[ -e "$dir" ] || continue
		depth=()
		[ "$dir" != "$root/build" ] || depth=(-maxdepth 0)
		found=$(find "$dir" "${depth[@]}" ! -user "$(id -u)" -print -quit \
			2>/dev/null)
		[ -n "$found" ] || continue
		owner=$(stat -c %U "$found" 2>/dev/null || stat -f %Su "$found")
		where=${dir#"$PWD"/}
		if [ "$found" = "$dir" ]; then
			echo "$me: ${where}/ belongs to $owner (an earlier run as" \
				"$owner?); remove it: sudo rm -rf $where" >&2
		else
			echo "$me: ${found#"$PWD"/} belongs to $owner (an earlier run" \
				"as $owner?); remove ${where}/: sudo rm -rf $where" >&2
		fi
		exit 1
	done
}

# test_preset PRESET...: configures, builds and tests each preset in turn;
# the tests read nothing from the terminal.
test_preset() {
	local preset
	for preset; do
		cmake --preset "$preset"
		cmake --build --preset "$preset" -j "$jobs"
		ctest --preset "$preset" -j "$jobs" </dev/null
	done
}
