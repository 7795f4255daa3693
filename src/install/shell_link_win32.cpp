#include "install/shell_link_win32.h"

#include <windows.h>
#include <objidl.h>
#include <shobjidl.h>

#include "runtime/handles_win32.h"
#include "runtime/system_view_win32.h"

namespace kelvara {
namespace {

// The link class and its two interfaces, here so that no import library of identifiers is
// needed.
constexpr GUID kClsidShellLink = {
    0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidShellLinkA = {
    0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidPersistFile = {
    0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

void applyFields(IShellLinkA* link, const ShellLinkFields& fields) {
    link->SetPath(fields.target);
    link->SetWorkingDirectory(fields.workingFolder);
    if (fields.showCommand != 0) link->SetShowCmd(fields.showCommand);
    if (fields.hotKey != 0) link->SetHotkey(fields.hotKey);
    if (*fields.iconFile) link->SetIconLocation(fields.iconFile, fields.iconIndex);
    link->SetArguments(fields.arguments);
}

}  // namespace

bool createShellLink(const ShellLinkFields& fields) {
    // The shell's link object loads libraries of its own: with the redirection on.
    FileRedirectionPause shellLoads;
    ComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(kClsidShellLink, nullptr, CLSCTX_INPROC_SERVER, kIidShellLinkA,
                                  link.outVoid()))) {
        return false;
    }
    applyFields(link.get(), fields);

    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(kIidPersistFile, file.outVoid()))) return false;
    WCHAR widePath[kLinkPathWideLimit] = {};
    if (::MultiByteToWideChar(CP_ACP, 0, fields.linkPath, -1, widePath, kLinkPathWideLimit) == 0)
        return false;
    // A link that was not saved does not exist: the caller reports it instead of logging it.
    return SUCCEEDED(file->Save(widePath, TRUE));
}

}  // namespace kelvara
