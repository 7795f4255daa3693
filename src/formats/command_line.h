// The installer's command line: cut into arguments, and the silent switch.
#pragma once

namespace kelvara {

constexpr int kArgTableSize = 10;

// Cuts an (already upper-cased) command line in place into at most `capacity` arguments and
// returns their count. An argument runs to the next blank, or, when it starts with a double
// quote, from after the quote to the next quote; there is no escaping. Blanks at the end yield
// one final empty argument. Arguments past `capacity` are not stored: they have no meaning.
int splitCommandLine(char* line, char** args, int capacity);

// True when argument 1 exists and begins with 'S' (the line is upper-cased, so 's' too).
bool isSilentRequest(char* const* args, int count);

}  // namespace kelvara
