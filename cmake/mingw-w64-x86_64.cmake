# Cross-builds the engine for 64-bit Windows with Debian's mingw-w64 compilers (the posix thread
# model, which std::thread and friends need). Used by scripts/build-windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and headers come from the mingw tree and from the Windows libraries built beside the
# engine; the build machine's own are never picked up.
# scripts/build-windows.sh installs them under build/windows/deps.
get_filename_component(BRINDLET_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../build/windows/deps" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${BRINDLET_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${BRINDLET_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")

# One self-contained .exe: the C and C++ runtimes and winpthreads are linked in, so neither
# Windows nor Wine needs mingw's DLLs beside it. The symbol tables are left out (-s).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s")
