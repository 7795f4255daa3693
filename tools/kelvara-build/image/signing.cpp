#include "kelvara-build/image/signing.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace kelvara::build {
namespace {

constexpr std::string_view kIn = "{in}";
constexpr std::string_view kOut = "{out}";

#ifdef _WIN32
// std::system hands the line to cmd, which expands %NAME% even inside double quotes.
constexpr const char* kUnquotable = "\"'%\r\n";
#else
constexpr const char* kUnquotable = "\"'\r\n";
#endif

// A path as one word of the shell that std::system runs. False when the path holds a character
// that no quoting makes plain text there: a quote, a line break (or, for cmd, a percent sign).
bool quoted(const std::filesystem::path& path, std::string& word, std::string& error) {
    const std::string text = path.string();
    if (text.find_first_of(kUnquotable) != std::string::npos) {
        error = "the path " + text +
                " holds a quote, a line break or a percent sign, which the sign command's shell "
                "would not take as part of a file name; build in a folder whose path has none";
        return false;
    }
#ifdef _WIN32
    word = "\"" + text + "\"";
#else
    word = "'" + text + "'";
#endif
    return true;
}

// How the command ended, from what std::system returned, for a message: a POSIX system gives a
// wait status (exit code 255 is status 65280), Windows the exit code itself.
std::string howItEnded(int status) {
    if (status == -1) return "could not be started";
#ifdef _WIN32
    return "exited with code " + std::to_string(status);
#else
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        // The shell's own codes for a command it could not run.
        if (code == 127) return "exited with code 127: the shell found no such command";
        if (code == 126) return "exited with code 126: the shell could not run the command";
        return "exited with code " + std::to_string(code);
    }
    if (WIFSIGNALED(status)) {
        const int number = WTERMSIG(status);
        const char* name = strsignal(number);
        return "was killed by signal " + std::to_string(number) +
               (name ? std::string(" (") + name + ")" : std::string());
    }
    return "ended with wait status " + std::to_string(status);
#endif
}

}  // namespace

bool signCommandFor(const std::string& command, const std::filesystem::path& in,
                    const std::filesystem::path& out, std::string& line, std::string& error) {
    std::string inWord, outWord;
    if (!quoted(in, inWord, error) || !quoted(out, outWord, error)) return false;
    // One pass over the template: a path is never searched again for a placeholder.
    line.clear();
    for (std::size_t at = 0; at < command.size();) {
        const std::string_view rest = std::string_view(command).substr(at);
        if (rest.starts_with(kIn)) {
            line += inWord;
            at += kIn.size();
        } else if (rest.starts_with(kOut)) {
            line += outWord;
            at += kOut.size();
        } else {
            line += command[at++];
        }
    }
    return true;
}

bool signFile(const std::string& command, const std::filesystem::path& file, std::string& error) {
    if (command.find(kIn) == std::string::npos) {
        error = "the sign command names no {in}";
        return false;
    }
    const bool inPlace = command.find(kOut) == std::string::npos;
    std::filesystem::path signedFile = file;
    signedFile += ".signed";
    std::string line;
    if (!signCommandFor(command, file, signedFile, line, error)) return false;
    std::error_code ignored;
    std::filesystem::remove(signedFile, ignored);
    const int status = std::system(line.c_str());
    if (status != 0) {
        std::filesystem::remove(signedFile, ignored);
        error = "the sign command " + howItEnded(status) + ": " + line;
        return false;
    }
    if (inPlace) return true;
    std::error_code renamed;
    std::filesystem::rename(signedFile, file, renamed);
    if (renamed) {
        std::filesystem::remove(signedFile, ignored);
        error = "the sign command left no signed file at " + signedFile.string() + ": " +
                renamed.message();
        return false;
    }
    return true;
}

}  // namespace kelvara::build
