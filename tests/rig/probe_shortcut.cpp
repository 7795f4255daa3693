#include "probe_shortcut.h"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace probe {
namespace {

// Room for every text a link holds (the shell's own limits are MAX_PATH and INFOTIPSIZE).
constexpr int kTextRoom = 1024;

// The link file's fixed header: its size is its first field, the show command is at 0x3C.
constexpr DWORD kLinkHeaderSize = 0x4C;
constexpr DWORD kShowCommandOffset = 0x3C;

template <typename T>
class Interface {
  public:
    Interface() = default;
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;
    ~Interface() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    void** out() { return reinterpret_cast<void**>(&p_); }

  private:
    T* p_ = nullptr;
};

class ComScope {
  public:
    ComScope() : result_(CoInitialize(nullptr)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    HRESULT result() const { return result_; }

  private:
    HRESULT result_;
};

// One text of the link through a getter that fills a buffer; "error" names a getter that failed.
template <typename Getter>
bool addText(JsonLine& line, const char* key, Getter get) {
    wchar_t text[kTextRoom] = {};
    HRESULT result = get(text, kTextRoom);
    if (FAILED(result)) {
        withError(line, key, static_cast<DWORD>(result));
        return false;
    }
    line.text(key, text);
    return true;
}

// The show command as the file stores it, or -1 when the file has no link header. Wine's link
// object keeps the stored value but GetShowCmd after Load always answers SW_SHOWNORMAL.
long storedShowCommand(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    unsigned char header[kLinkHeaderSize] = {};
    DWORD read = 0;
    if (!file.valid() || !ReadFile(file.get(), header, sizeof header, &read, nullptr) ||
        read != sizeof header || header[0] != kLinkHeaderSize) {
        return -1;
    }
    const unsigned char* show = header + kShowCommandOffset;
    return static_cast<long>(show[0] | show[1] << 8 | show[2] << 16 |
                             static_cast<DWORD>(show[3]) << 24);
}

}  // namespace

int shortcutCommand(const std::wstring& path) {
    JsonLine line;
    line.text("path", path);
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            line.flag("exists", false).print();
            return kOk;
        }
        return withError(line, "GetFileAttributes", error);
    }
    line.flag("exists", true);

    ComScope com;
    if (FAILED(com.result())) return withError(line, "CoInitialize", com.result());
    // The wide interface: the link's texts come as the system holds them, in any script.
    Interface<IShellLinkW> link;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IShellLinkW, link.out());
    if (FAILED(result)) return withError(line, "CoCreateInstance", result);
    Interface<IPersistFile> file;
    result = link->QueryInterface(IID_IPersistFile, file.out());
    if (FAILED(result)) return withError(line, "QueryInterface", result);
    result = file->Load(path.c_str(), STGM_READ);
    if (FAILED(result)) return withError(line, "Load", result);

    bool read =
        addText(line, "target",
                [&](wchar_t* t, int n) { return link->GetPath(t, n, nullptr, SLGP_RAWPATH); }) &&
        addText(line, "arguments", [&](wchar_t* t, int n) { return link->GetArguments(t, n); }) &&
        addText(line, "working_folder",
                [&](wchar_t* t, int n) { return link->GetWorkingDirectory(t, n); }) &&
        addText(line, "description", [&](wchar_t* t, int n) { return link->GetDescription(t, n); });
    if (!read) return kFailed;

    // The target as the shell resolves it, from the item list: the path that GetPath gives
    // comes from the link's location block, which Wine keeps in the ANSI code page of the
    // program that made the link alone.
    wchar_t item[MAX_PATH] = {};
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(link->GetIDList(&items)) && items) {
        if (!SHGetPathFromIDListW(items, item)) item[0] = L'\0';
        CoTaskMemFree(items);
    }
    line.text("target_item", item);

    wchar_t icon[kTextRoom] = {};
    int iconIndex = 0;
    result = link->GetIconLocation(icon, kTextRoom, &iconIndex);
    if (FAILED(result)) return withError(line, "GetIconLocation", result);
    int show = 0;
    result = link->GetShowCmd(&show);
    if (FAILED(result)) return withError(line, "GetShowCmd", result);
    WORD hotKey = 0;
    result = link->GetHotkey(&hotKey);
    if (FAILED(result)) return withError(line, "GetHotkey", result);

    line.text("icon", icon)
        .raw("icon_index", std::to_string(iconIndex))
        .raw("show", std::to_string(show))
        .raw("stored_show", std::to_string(storedShowCommand(path)))
        .number("hotkey", hotKey)
        .print();
    return kOk;
}

}  // namespace probe
