# Cross-builds the engine for another Linux architecture with Debian's cross compilers
# (g++-TRIPLET): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/linux-cross.cmake -DBRINDLET_CROSS_TRIPLET=TRIPLET
# -DBRINDLET_CROSS_DEPS=DIR, where DIR holds the target's PCRE2 (scripts/pcre2-build.sh). Used by
# scripts/check-arch.sh, which runs the result under qemu-user.
if(NOT BRINDLET_CROSS_TRIPLET OR NOT BRINDLET_CROSS_DEPS)
  message(FATAL_ERROR "linux-cross.cmake needs -DBRINDLET_CROSS_TRIPLET=TRIPLET and -DBRINDLET_CROSS_DEPS=DIR")
endif()
# The compiler checks run in projects of their own, which see these two only when passed on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BRINDLET_CROSS_TRIPLET BRINDLET_CROSS_DEPS)

set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${BRINDLET_CROSS_TRIPLET}")
set(CMAKE_C_COMPILER ${BRINDLET_CROSS_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${BRINDLET_CROSS_TRIPLET}-g++)

# Libraries and headers come from the target's tree and from its PCRE2; the build machine's own
# are never picked up.
set(CMAKE_FIND_ROOT_PATH /usr/${BRINDLET_CROSS_TRIPLET} "${BRINDLET_CROSS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${BRINDLET_CROSS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
