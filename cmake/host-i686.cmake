# The portable core and its tests as a 32-bit x86 Linux program (g++ -m32, Debian's g++-multilib):
# the engine is a 32-bit program, and a size check that wraps in 32 bits passes unnoticed where
# only 64-bit sizes and pointers are ever tested.
# Linked statically, so that qemu-i386 can run the tests on a machine that executes no 32-bit
# code (no 32-bit loader needed there); tests/rig/run-32bit.sh picks native or emulated.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
# Debian's lib32z1-dev: /usr/lib32/libz.a (a static program cannot take libz.so).
set(ZLIB_USE_STATIC_LIBS ON)
# Debian's liblzma-dev:i386 for the builder: /usr/lib/i386-linux-gnu/liblzma.a.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
get_filename_component(KELVARA_RUN_32BIT ${CMAKE_CURRENT_LIST_DIR}/../tests/rig/run-32bit.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${KELVARA_RUN_32BIT})
