#include "window_report.h"

#include <cstdio>
#include <cstdlib>

namespace ui_driver {

std::string utf8FromWide(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back();
    return out;
}

namespace {

std::wstring wideFrom(UINT codePage, const std::string& text) {
    const int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(size > 0 ? size : 1, L'\0');
    if (size > 0) MultiByteToWideChar(codePage, 0, text.c_str(), -1, out.data(), size);
    out.pop_back();
    return out;
}

}  // namespace

std::wstring wideFromUtf8(const std::string& text) {
    return wideFrom(CP_UTF8, text);
}

std::string windowText(HWND window) {
    wchar_t text[4096] = {};
    // WM_GETTEXT works across processes for the standard controls. Read in UTF-16: the
    // program's texts may be in any script, whatever the driver's own code page.
    SendMessageTimeoutW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
    return utf8FromWide(text);
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string withoutAccelerator(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '&') out += c;
    }
    return out;
}

// ASCII only, whatever the texts hold: everything else as \uXXXX, one per UTF-16 unit.
std::string escaped(const std::string& text) {
    std::string out;
    for (wchar_t c : wideFromUtf8(text)) {
        if (c == L'"' || c == L'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == L'\n') {
            out += "\\n";
        } else if (c == L'\r') {
            out += "\\r";
        } else if (c == L'\t') {
            out += "\\t";
        } else if (c >= 0x80) {
            char unit[8];
            std::snprintf(unit, sizeof unit, "\\u%04x", static_cast<unsigned>(c));
            out += unit;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string hexHandle(const void* handle) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(handle)));
    return text;
}

void* parseHandle(const std::string& text) {
    return reinterpret_cast<void*>(static_cast<UINT_PTR>(std::strtoull(text.c_str(), nullptr, 0)));
}

namespace {

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    auto* children = reinterpret_cast<std::vector<Child>*>(param);
    children->push_back({window, className(window), windowText(window), GetDlgCtrlID(window)});
    return TRUE;
}

}  // namespace

std::vector<Child> childrenOf(HWND window) {
    std::vector<Child> children;
    EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool isButton(const Child& child) {
    return _stricmp(child.cls.c_str(), "Button") == 0;
}

Shown describe(HWND window, bool visibleOnly) {
    Shown shown;
    shown.window = window;
    for (const Child& child : childrenOf(window)) {
        if (isButton(child)) {
            if (!shown.buttons.empty()) shown.buttons += '|';
            shown.buttons += withoutAccelerator(child.text);
        } else if (_stricmp(child.cls.c_str(), "Static") == 0 && !child.text.empty() &&
                   (!visibleOnly || IsWindowVisible(child.window))) {
            if (!shown.text.empty()) shown.text += '\n';
            shown.text += child.text;
        }
    }
    shown.cls = className(window);
    shown.caption = windowText(window);
    shown.owned = GetWindow(window, GW_OWNER) != nullptr;
    shown.style = GetWindowLongA(window, GWL_STYLE);
    return shown;
}

std::string reportLine(const Shown& shown, bool withHandle) {
    char tail[64];
    std::snprintf(tail, sizeof tail, " owner=%d style=0x%08lx", shown.owned ? 1 : 0,
                  static_cast<unsigned long>(shown.style));
    std::string line = "window class=\"" + escaped(shown.cls) + "\" caption=\"" +
                       escaped(shown.caption) + "\" text=\"" + escaped(shown.text) +
                       "\" buttons=\"" + escaped(shown.buttons) + "\"" + tail;
    if (withHandle) line += " handle=" + hexHandle(shown.window);
    return line;
}

LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &result)) {
        return 0;
    }
    return static_cast<LRESULT>(result);
}

}  // namespace ui_driver
