// The probe's shortcut command: a link file read back through the shell's link object.
#pragma once
#include <string>

#include "probe_output.h"

namespace probe {

// shortcut PATH: one line {"path", "exists"} and, for a link that loads, "target", "arguments",
// "working_folder", "icon", "icon_index", "show", "hotkey", "description", as IShellLinkA
// reports them (ANSI texts printed as their UTF-16), and "stored_show", the show command in the
// file's header (-1 without one), which Wine's link object does not read back. A file that
// exists but does not load as a link is a failure (exit 1, with the Load error).
int shortcutCommand(const std::wstring& path);

}  // namespace probe
