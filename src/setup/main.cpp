// The engine's entry point: everything else lives in kelvara_core, which the tests link too.
#include <windows.h>

#include "setup/run.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kelvara::runSetup();
}
