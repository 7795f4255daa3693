#include "runtime/system_objects.h"

#include <windows.h>

namespace kelvara {

void closeSystemObject(SystemObjectKind kind, void* object) {
    switch (kind) {
        case SystemObjectKind::kernelObject:
        case SystemObjectKind::file:
            ::CloseHandle(object);
            break;
        case SystemObjectKind::gdiObject:
            ::DeleteObject(static_cast<HGDIOBJ>(object));
            break;
        case SystemObjectKind::library:
            ::FreeLibrary(static_cast<HMODULE>(object));
            break;
        case SystemObjectKind::window:
            ::DestroyWindow(static_cast<HWND>(object));
            break;
    }
}

}  // namespace kelvara
