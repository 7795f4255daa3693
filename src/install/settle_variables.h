// Settling the script's variables before the installation uses them: every value is expanded
// until none names a variable, whatever the order of the definitions.
#pragma once

namespace kelvara {

// Expands every value of the variable table in place, pass after pass (each pass in table order,
// later values seeing the earlier ones of the same pass), until no value contains a variable's
// name (exact case). A chain of n definitions settles within n passes, so the passes stop after
// one more than the table's count: a value that still names a variable then refers to itself,
// directly or through others, and can never settle.
// Returns -1 when settled, else the index of the first variable whose value still names one
// (its value is left as the last pass made it). At least one pass runs, so a reference written
// in another letter case is expanded too. -2 when the heap is exhausted.
int settleVariables();

}  // namespace kelvara
