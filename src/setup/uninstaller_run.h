// The uninstaller run of the start-up sequence.
#pragma once

namespace kelvara {

// The first stage (the installed copy) asks for confirmation and starts a temporary copy of
// itself with the log's path; the second stage (that copy) shows the removal dialog and then
// starts the self-removal script. The settings of the log's header become the run's (product
// names, look). Nothing is reported when the log cannot be read.
void runUninstaller();

}  // namespace kelvara
