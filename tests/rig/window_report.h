// The windows of another process as the driver reports them: texts, controls, report lines.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ui_driver {

inline constexpr DWORD kPollMs = 50;
inline constexpr UINT kMessageTimeoutMs = 5000;

// Texts inside the driver are UTF-8: the windows' own are read in UTF-16, the interactive
// commands come in UTF-8 (the answering mode's arguments in its code page).
std::string utf8FromWide(const wchar_t* text);
std::wstring wideFromUtf8(const std::string& text);
std::string windowText(HWND window);
std::string className(HWND window);
std::string withoutAccelerator(const std::string& text);
// Escapes a text for one output line (ASCII: \uXXXX for the rest).
std::string escaped(const std::string& text);
std::string hexHandle(const void* handle);
void* parseHandle(const std::string& text);

struct Child {
    HWND window;
    std::string cls;
    std::string text;
    int id;
};

std::vector<Child> childrenOf(HWND window);
bool isButton(const Child& child);

// What a window shows, as a report line (without the handle, as the answering mode prints it).
struct Shown {
    HWND window = nullptr;
    std::string cls, caption, text, buttons;
    bool owned = false;
    LONG style = 0;
};

// The window's caption, buttons and static texts; with visibleOnly only the texts shown now
// (the interactive mode), else every static's (as the answering mode always reported them).
Shown describe(HWND window, bool visibleOnly);
std::string reportLine(const Shown& shown, bool withHandle);

// A message to a window of another process that gives up on a hung one: 0 then.
LRESULT sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui_driver
