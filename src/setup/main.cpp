// The engine's entry point: everything else lives in kelvara_program, which the tests link too.
//
// The engine starts here rather than in the C runtime's start-up code, which would add about
// 10 KB to every setup image for services the engine does not use: an argument vector (the
// engine reads GetCommandLine), stdio, floating-point set-up, an exit-time list (the run ends in
// ExitProcess). The system's msvcrt.dll initialises itself when it is loaded, so the string
// functions the engine calls from it need nothing from here. The one thing the start-up did that
// the engine needs is done below: the static constructors run, in the order the C runtime's would.
#include <windows.h>

#include "setup/run.h"

// The build names the edition (src/CMakeLists.txt); a build that does not is the classic one.
#ifndef KELVARA_EDITION
#define KELVARA_EDITION kelvara::Edition::classic
#endif

using StaticConstructor = void (*)();

// The linker's list of static constructors: -1, the constructors, a null at the end. They run
// from the last to the first, as the linker's list is in the reverse of the source order.
extern "C" StaticConstructor __CTOR_LIST__[];

static void runStaticConstructors() {
    int count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr) {
        ++count;
    }
    for (int i = count; i >= 1; --i) {
        __CTOR_LIST__[i]();
    }
}

// The constructors register the destructors of the objects they made. The process ends in
// ExitProcess after the run's clean-up has released what it owns, so there is no exit-time list
// to keep, and nothing is registered.
extern "C" int atexit(void (*)()) {
    return 0;
}

// Windows calls the entry point with no arguments; the process ends here, with the run's exit
// code, and never returns.
extern "C" [[noreturn]] void kelvaraStart() {
    runStaticConstructors();
    ::ExitProcess(static_cast<UINT>(kelvara::runSetup(KELVARA_EDITION)));
}
