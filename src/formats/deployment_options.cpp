#include "formats/deployment_options.h"

#include <cstddef>
#include <cstring>

namespace kelvara {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// One argument of the line: [begin, end) as written, quotes included.
struct Argument {
    const char* begin = nullptr;
    const char* end = nullptr;
};

// The argument at p after its leading blanks; p moves past it. False at the end of the line.
// Blanks outside quotes end an argument; a quote opens or closes a quoted part.
bool nextArgument(const char*& p, Argument& argument) {
    while (isBlank(*p)) ++p;
    if (!*p) return false;
    argument.begin = p;
    bool quoted = false;
    for (; *p && (quoted || !isBlank(*p)); ++p) {
        if (*p == '"') quoted = !quoted;
    }
    argument.end = p;
    return true;
}

// The text of [begin, end) without its quotes, as a new heap string. Null when the heap is
// exhausted.
char* unquoted(const char* begin, const char* end) {
    char* text = strDupExtra(nullptr, static_cast<int>(end - begin));
    if (!text) return nullptr;
    char* out = text;
    for (const char* p = begin; p < end; ++p) {
        if (*p != '"') *out++ = *p;
    }
    return text;
}

// True when [begin, end) is `name` in any case (ASCII: option names are).
bool isName(const char* begin, const char* end, const char* name) {
    std::size_t length = std::strlen(name);
    if (static_cast<std::size_t>(end - begin) != length) return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = begin[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != name[i]) return false;
    }
    return true;
}

// Stores the value after '=' (empty without one) and notes that the option was given.
bool takeValue(const char* equals, const char* end, HeapString& value, bool& given) {
    value.reset(equals < end ? unquoted(equals + 1, end) : strDupExtra(nullptr, 0));
    given = true;
    return value.get() != nullptr;
}

// Where an option's slash stands in the argument: first, or after the quote that opens a quoted
// argument ("/DIR=C:\Program Files\Tool"). Null when the argument is not an option.
const char* optionSlash(const Argument& argument) {
    const char* p = argument.begin;
    while (p < argument.end && *p == '"') ++p;
    return p < argument.end && *p == '/' ? p : nullptr;
}

// The options about programs that hold files in use. False when the name is none of them.
bool readProgramsOption(const char* name, const char* end, DeploymentOptions& options) {
    static constexpr struct {
        const char* name;
        bool restart;
        std::uint8_t value;
    } kNames[] = {{"CLOSEAPPLICATIONS", false, kCloseGiven},
                  {"FORCECLOSEAPPLICATIONS", false, kForceCloseGiven},
                  {"NOCLOSEAPPLICATIONS", false, kNoCloseGiven},
                  {"RESTARTAPPLICATIONS", true, kCloseGiven},
                  {"NORESTARTAPPLICATIONS", true, kNoCloseGiven}};
    for (const auto& option : kNames) {
        if (!isName(name, end, option.name)) continue;
        (option.restart ? options.restartApplications : options.closeApplications) = option.value;
        return true;
    }
    return false;
}

// One option, its slash at `slash`.
bool readOption(const Argument& argument, const char* slash, DeploymentOptions& options) {
    const char* name = slash + 1;
    const char* equals = name;
    while (equals < argument.end && *equals != '=') ++equals;
    const bool hasValue = equals < argument.end;
    if (isName(name, equals, "DIR")) {
        return takeValue(equals, argument.end, options.folder, options.folderGiven);
    }
    if (isName(name, equals, "LOG")) {
        return takeValue(equals, argument.end, options.logFile, options.logGiven);
    }
    if (isName(name, equals, "TYPE")) {
        return takeValue(equals, argument.end, options.setupType, options.setupTypeGiven);
    }
    if (isName(name, equals, "COMPONENTS")) {
        return takeValue(equals, argument.end, options.components, options.componentsGiven);
    }
    if (isName(name, equals, "TASKS")) {
        return takeValue(equals, argument.end, options.tasks, options.tasksGiven);
    }
    if (isName(name, equals, "RECOVER")) {
        return takeValue(equals, argument.end, options.recoverJournal, options.recoverGiven);
    }
    if (!hasValue && (isName(name, equals, "QUIET") || isName(name, equals, "VERYSILENT"))) {
        options.quiet = options.silent = true;
        return true;
    }
    if (!hasValue && isName(name, equals, "PASSIVE")) {
        options.passive = options.quiet = options.silent = true;
        return true;
    }
    if (!hasValue && isName(name, equals, "NORESTART")) {
        options.noRestart = true;
        return true;
    }
    if (!hasValue && (isName(name, equals, "ALLUSERS") || isName(name, equals, "CURRENTUSER"))) {
        options.allUsers = isName(name, equals, "ALLUSERS");
        options.currentUser = !options.allUsers;
        return true;
    }
    if (!hasValue && isName(name, equals, "ELEVATED")) {
        options.restartedElevated = true;
        return true;
    }
    if (!hasValue && readProgramsOption(name, equals, options)) return true;
    if (!hasValue && (isName(name, equals, "S") || isName(name, equals, "SILENT"))) {
        options.silent = true;
        return true;
    }
    if (!options.unknownOptions.isCreated() && !options.unknownOptions.create(4)) return false;
    HeapString written(unquoted(slash, equals));
    return written && options.unknownOptions.append(written.get()) >= 0;
}

}  // namespace

bool readDeploymentOptions(const char* commandLine, DeploymentOptions& options) {
    const char* p = commandLine ? commandLine : "";
    Argument argument;
    if (!nextArgument(p, argument)) return true;  // no program name, no options
    while (nextArgument(p, argument)) {
        const char* slash = optionSlash(argument);
        if (slash && !readOption(argument, slash, options)) return false;
    }
    return true;
}

char* deploymentOptionsText(const DeploymentOptions& options) {
    HeapString text(strDupExtra(nullptr, 0));
    auto add = [&text](const char* a, const char* b = nullptr, const char* c = nullptr) {
        if (text) text.reset(strConcat5(text.get(), a, b, c, " "));
    };
    if (options.quiet) add("/QUIET");
    if (options.silent && !options.quiet) add("/S");
    if (options.noRestart) add("/NORESTART");
    if (options.folderGiven) add("/DIR=\"", options.folder.get(), "\"");
    if (options.logGiven) add("/LOG=\"", options.logFile.get(), "\"");
    constexpr const char* kCloseNames[] = {nullptr, "/CLOSEAPPLICATIONS", "/FORCECLOSEAPPLICATIONS",
                                           "/NOCLOSEAPPLICATIONS"};
    if (options.closeApplications <= kNoCloseGiven && kCloseNames[options.closeApplications])
        add(kCloseNames[options.closeApplications]);
    if (options.restartApplications == kCloseGiven) add("/RESTARTAPPLICATIONS");
    if (options.restartApplications == kNoCloseGiven) add("/NORESTARTAPPLICATIONS");
    return text.release();
}

void removeDeploymentOptions(char* text) {
    if (!text) return;
    const char* p = text;
    char* out = text;
    for (;;) {
        const char* blanks = p;
        Argument argument;
        if (!nextArgument(p, argument)) break;
        if (optionSlash(argument)) continue;
        // Moves the blanks and the argument down over what the options held.
        const std::size_t length = static_cast<std::size_t>(argument.end - blanks);
        std::memmove(out, blanks, length);
        out += length;
    }
    // Blanks after the last argument are kept as they were: trimming is the reader's.
    const std::size_t rest = std::strlen(p);
    std::memmove(out, p, rest + 1);
}

const char* skipProgramName(const char* commandLine) {
    const char* p = commandLine ? commandLine : "";
    Argument argument;
    nextArgument(p, argument);
    while (isBlank(*p)) ++p;
    return p;
}

const char* skipDeploymentOptions(const char* arguments) {
    const char* p = arguments ? arguments : "";
    for (;;) {
        const char* start = p;
        Argument argument;
        if (!nextArgument(p, argument) || !optionSlash(argument)) {
            while (isBlank(*start)) ++start;
            return start;
        }
    }
}

}  // namespace kelvara
