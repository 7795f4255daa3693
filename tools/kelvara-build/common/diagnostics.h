// Errors and warnings of one build, each naming the project file and line where it applies:
// "project.toml:12: unknown overwrite mode 'newest'".
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace kelvara::build {

class Diagnostics {
  public:
    explicit Diagnostics(std::string projectFile = "") : projectFile_(std::move(projectFile)) {}

    // line 0: the message is about the project as a whole.
    void error(int line, const std::string& message) { errors_.push_back(locate(line, message)); }
    void warning(int line, const std::string& message) {
        warnings_.push_back(locate(line, message));
    }

    bool failed() const { return !errors_.empty(); }
    const std::vector<std::string>& errors() const { return errors_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

  private:
    std::string locate(int line, const std::string& message) const {
        if (projectFile_.empty()) return message;
        if (line <= 0) return projectFile_ + ": " + message;
        return projectFile_ + ":" + std::to_string(line) + ": " + message;
    }

    std::string projectFile_;
    std::vector<std::string> errors_;
    std::vector<std::string> warnings_;
};

}  // namespace kelvara::build
