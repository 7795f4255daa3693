// Script variables (%Name% placeholders) and the replacement primitive shared with the folder
// tokens. The table is the pair of parallel lists variableNames / variableValues in setupState;
// names are matched ignoring case (the system's comparison) and the first definition wins.
// Portable: no system calls.
#pragma once

namespace kelvara {

// Most characters one replaceAll call inserts in total. A replacement that keeps recreating what
// it replaces would otherwise grow the text without end; when the budget is spent the rest of
// the text is kept as it stands. Far above what any setup text needs.
constexpr int kMaxInsertedChars = 1 << 20;

// Appends name and value exactly as given (null stores a hole), without looking for an earlier
// entry of the same name. False when either copy cannot be stored; the table is then unchanged,
// so the two lists always keep the same count.
bool defineVariable(const char* name, const char* value);

// Value of the first entry whose name equals `name` ignoring case, or null when there is none
// (or its value is a hole). The table keeps ownership; the pointer is valid until the entry
// changes.
const char* lookupVariable(const char* name);

// Replaces the value of the first entry named `name` (ignoring case) by a copy of `value`, or
// appends a new entry when there is none. False when the copy cannot be stored (a replaced value
// is then a hole).
bool setVariable(const char* name, const char* value);

// New heap string: `text` (null counts as empty) with each variable, in table order, replaced by
// its value (a hole as empty). Undefined names stay as written. Null only when the heap is
// exhausted; the caller frees the result.
char* expandVariables(const char* text);

// New heap string: `text` (null counts as empty) with every occurrence of `find` replaced by
// `replacement` (null as empty), comparing ignoring case unless caseSensitive. After each
// replacement the search starts again from the leftmost place where a new occurrence can begin,
// so text that a replacement joins into a new occurrence is replaced too. A replacement that
// contains `find` itself is the exception: the search then goes on after the inserted text,
// which would otherwise be replaced again forever. A null or empty `find` replaces nothing.
// Null only when the heap is exhausted; the caller frees the result.
char* replaceAll(const char* text, const char* find, const char* replacement, bool caseSensitive);

}  // namespace kelvara
