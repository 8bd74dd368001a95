# SPDX-License-Identifier: MIT
# Shared by the build scripts: where things are, and installing what a
# fresh Debian 12 machine lacks.

set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

# need PACKAGE...: installs the missing Debian packages when run as root;
# otherwise names the command that would.
need() {
	local missing=""
	for package in "$@"; do
		dpkg-query -W -f='${Status}' "$package" 2>/dev/null |
			grep -q 'install ok installed' || missing="$missing $package"
	done
	[ -z "$missing" ] && return 0
	if [ "$(id -u)" -ne 0 ]; then
		echo "missing packages; run: sudo apt-get install$missing" >&2
		exit 1
	fi
	apt-get update -qq
	DEBIAN_FRONTEND=noninteractive apt-get install -y -qq$missing >/dev/null
}
