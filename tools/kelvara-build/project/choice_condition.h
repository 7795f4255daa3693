// The `component` and `task` keys of a file group or an entry: what its files or its record need
// of the selection. Internal to the project folder.
#pragma once
#include "kelvara-build/project/project.h"
#include "kelvara-build/project/table_reader.h"

namespace kelvara::build {

// Reads `component` and `task` (an id or a list of ids) from the table and looks each id up,
// ignoring case, in the project's components and tasks, which are read before it. An unknown id
// is reported at its key's line and needs nothing.
ChoiceCondition readChoiceCondition(TableReader& table, const Project& project);

}  // namespace kelvara::build
