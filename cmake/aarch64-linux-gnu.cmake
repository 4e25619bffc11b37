# Cross-compiling for 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu.
# The libraries come from Debian's arm64 packages (multiarch, under
# /usr/lib/aarch64-linux-gnu); the tests run under qemu-user-static.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# Linked statically: Debian 12's qemu-aarch64-static never returns from
# starting a thread in a dynamically linked program, while a static one runs
# threads as it should. glib (under mdbtools) needs pcre2 spelt out then.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(KESTRIN_STATIC_EXECUTABLES ON)
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpcre2-8 -pthread")

# Test discovery and ctest run the arm64 executables through the emulator.
find_program(KESTRIN_QEMU_AARCH64 qemu-aarch64-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTRIN_QEMU_AARCH64} -L /usr/aarch64-linux-gnu)

# Headers are shared between the architectures (/usr/include); libraries,
# pkg-config files and CMake package files are the arm64 ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig")
