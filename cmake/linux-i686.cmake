# SPDX-License-Identifier: MIT
# 32-bit x86 Linux, built with Debian's i686 cross compiler, run under qemu.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(cross_triplet i686-linux-gnu)
set(cross_qemu qemu-i386)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
