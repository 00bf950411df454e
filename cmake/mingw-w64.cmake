# Cross-builds the engine for Windows with Debian's mingw-w64 compilers (the posix thread model,
# which std::thread and friends need). Used by scripts/build-windows.sh:
#   -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DBRINDLET_WINDOWS_ARCH=x86_64|i686
# x86_64 (the default) builds for 64-bit Windows, i686 for 32-bit Windows.
set(BRINDLET_WINDOWS_ARCH x86_64 CACHE STRING "Windows target: x86_64 (64-bit) or i686 (32-bit)")
if(NOT BRINDLET_WINDOWS_ARCH MATCHES "^(x86_64|i686)$")
  message(FATAL_ERROR "BRINDLET_WINDOWS_ARCH is x86_64 or i686, not ${BRINDLET_WINDOWS_ARCH}")
endif()
set(triplet ${BRINDLET_WINDOWS_ARCH}-w64-mingw32)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${BRINDLET_WINDOWS_ARCH})

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# Libraries and headers come from the mingw tree and from the Windows libraries built beside the
# engine; the build machine's own are never picked up. scripts/build-windows.sh installs them
# under build/windows/deps (64-bit) and build/windows/x86/deps (32-bit).
if(BRINDLET_WINDOWS_ARCH STREQUAL x86_64)
  set(deps_dir build/windows/deps)
else()
  set(deps_dir build/windows/x86/deps)
endif()
get_filename_component(BRINDLET_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../${deps_dir}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet} "${BRINDLET_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${BRINDLET_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
# The compiler checks build small projects of their own, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRINDLET_WINDOWS_ARCH)

# One self-contained .exe: the C and C++ runtimes and winpthreads are linked in, so neither
# Windows nor Wine needs mingw's DLLs beside it. The symbol tables are left out (-s), and so is
# the link time in the PE header, so the same source links to the same bytes.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -s -Wl,--no-insert-timestamp")
