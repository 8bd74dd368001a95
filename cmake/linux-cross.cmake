# SPDX-License-Identifier: MIT
# Cross-builds for another Linux processor with Debian's cross compiler for
# cross_triplet; what is built runs under qemu's user-mode emulator
# cross_qemu, tests included.  Set by the toolchain files that include it.
set(CMAKE_SYSTEM_NAME Linux)

set(CMAKE_C_COMPILER ${cross_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${cross_triplet}-g++)

set(CMAKE_FIND_ROOT_PATH /usr/${cross_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static, so that the emulator needs no cross sysroot to load it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# An absolute path: the end-to-end checks run the program with a PATH of
# their own.
find_program(LOAN_DESK_QEMU ${cross_qemu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${LOAN_DESK_QEMU})
