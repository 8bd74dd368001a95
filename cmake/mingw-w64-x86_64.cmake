# SPDX-License-Identifier: MIT
# Cross-builds the Windows console program, loan-desk.exe, with mingw-w64;
# what is built runs under wine, tests and test discovery included.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# posix thread model: GoogleTest needs std::mutex, which GCC 12's win32 model lacks.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One .exe and nothing beside it: the C++, GCC and thread runtimes are
# linked in, leaving only the DLLs every Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

find_program(LOAN_DESK_WINE wine)
if(LOAN_DESK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LOAN_DESK_WINE})
endif()
