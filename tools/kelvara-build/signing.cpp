#include "signing.h"

#include <cstdlib>
#include <system_error>

namespace kelvara::build {
namespace {

constexpr const char* kIn = "{in}";
constexpr const char* kOut = "{out}";

// A path as one word of the shell that std::system runs.
std::string quoted(const std::filesystem::path& path) {
    const std::string text = path.string();
#ifdef _WIN32
    return "\"" + text + "\"";  // a Windows path cannot hold a double quote
#else
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
#endif
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

}  // namespace

std::string signCommandFor(const std::string& command, const std::filesystem::path& in,
                           const std::filesystem::path& out) {
    std::string line = command;
    replaceAll(line, kIn, quoted(in));
    replaceAll(line, kOut, quoted(out));
    return line;
}

bool signFile(const std::string& command, const std::filesystem::path& file, std::string& error) {
    if (command.find(kIn) == std::string::npos) {
        error = "the sign command names no {in}";
        return false;
    }
    const bool inPlace = command.find(kOut) == std::string::npos;
    std::filesystem::path signedFile = file;
    signedFile += ".signed";
    std::error_code ignored;
    std::filesystem::remove(signedFile, ignored);
    const std::string line = signCommandFor(command, file, signedFile);
    const int status = std::system(line.c_str());
    if (status != 0) {
        std::filesystem::remove(signedFile, ignored);
        error = "the sign command failed (status " + std::to_string(status) + "): " + line;
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
