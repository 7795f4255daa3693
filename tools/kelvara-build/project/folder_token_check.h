// The folder tokens a project writes, checked against the engine's table
// (formats/folder_token_names.h): a token the engine does not know stays in the installed path as
// written, and the path fails at install time, so the builder tells of it and of the known
// tokens it is close to.
#pragma once
#include <string>
#include <vector>

#include "kelvara-build/common/diagnostics.h"
#include "kelvara-build/project/project.h"

namespace kelvara::build {

// The tokens in `text` that the engine does not know, each once, as written ("<ProgramFile>").
// A token is a name of ASCII letters and digits, beginning with a letter, in angle brackets; other
// text in them ("< Back", "<a b>") is none. Known tokens are matched ignoring case, as the engine
// matches them.
std::vector<std::string> unknownFolderTokens(const std::string& text);

// The known tokens closest to an unknown one: the nearest of those a few letters away (one in a
// name of up to four letters, two up to nine, three in a longer one; a swapped pair counts as
// one), else those it begins or that begin with it; at most three, closest first, as the table
// writes them. Empty when none is close.
std::vector<std::string> closeFolderTokens(const std::string& token);

// Warns at `line` of each unknown token in `text`; `where` names the text in the message
// ("[[files]] 'target'").
void warnOfUnknownFolderTokens(int line, const std::string& where, const std::string& text,
                               Diagnostics& diagnostics);

// The same for every path of the project that may hold tokens: the file groups' targets, the
// values of [variables] (those the builder defines itself hold the product's name, no path) and
// the fields of the entries.
void warnOfUnknownFolderTokens(const Project& project, Diagnostics& diagnostics);

}  // namespace kelvara::build
