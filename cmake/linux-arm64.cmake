# SPDX-License-Identifier: MIT
# Cross-builds for 64-bit Arm Linux with Debian's aarch64 cross compiler; what
# is built runs under qemu's user-mode emulator, tests included.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static, so that the emulator needs no cross sysroot to load it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# An absolute path: the end-to-end checks run the program with a PATH of
# their own.
find_program(LOAN_DESK_QEMU qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${LOAN_DESK_QEMU})
