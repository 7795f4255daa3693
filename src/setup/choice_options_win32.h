// The components and tasks a run starts from, before any page shows them.
#pragma once

namespace kelvara {

// Applies, over the script's defaults, what the product's earlier installation chose, then the
// command line's /TYPE=, /COMPONENTS= and /TASKS=, and keeps the records the selection keeps.
// False, after a message, when the command line names a part the product does not have: the
// run then ends with nothing done. True at once for a product without components or tasks.
bool choicesApplied();

// After the components or tasks page: the records the selection keeps, and the run log's line.
void keepChosenRecords();

}  // namespace kelvara
