# SPDX-License-Identifier: MIT
# 64-bit IBM Z Linux, big-endian, built with Debian's s390x cross compiler,
# run under qemu.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(cross_triplet s390x-linux-gnu)
set(cross_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
