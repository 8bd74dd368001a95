# SPDX-License-Identifier: MIT
# 64-bit Arm Linux, built with Debian's aarch64 cross compiler, run under
# qemu.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(cross_triplet aarch64-linux-gnu)
set(cross_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
