// Programs that hold files a run replaces or removes: whether the run closes them, asks first,
// ends them when they do not close, and starts them again afterwards; and the set of paths they
// are looked up in.
#pragma once

#include <cstdint>

#include "runtime/heap_string.h"
#include "runtime/string_list.h"

namespace kelvara {

struct DeploymentOptions;

struct ClosingPlan {
    bool ask = false;       // the person chooses (the wizard's page, or a question)
    bool close = false;     // closed without a question
    bool force = false;     // a program that does not close is ended
    bool restart = false;   // what was closed starts again after the run
    bool answered = false;  // the wizard's page asked: `close` is the person's answer
};

// The plan from the project's setting (kCloseApplications*) and the command line, whose options
// win. A quiet run asks nothing: it closes only when told to (the command line, or a project
// that forces), and starts programs again only on /RESTARTAPPLICATIONS. Otherwise closed programs
// start again unless /NORESTARTAPPLICATIONS says not to.
ClosingPlan planClosing(std::uint8_t projectSetting, const DeploymentOptions& options, bool quiet);

// How a running program was found to hold the run's files.
enum class FoundBy : std::uint8_t { restartManager, programFile, loadedModule };

// What became of it.
// (gone: it had ended before it was asked, and is not started again.)
enum class ClosingEnd : std::uint8_t { running, closed, ended, stayed, gone };

// One running program that holds files of the run.
struct RunningProgram {
    unsigned long processId = 0;
    std::uint64_t startTime = 0;   // its creation time: a process id may be used again
    HeapString name;               // what the person knows it by
    HeapString programPath;        // its program file (null: unknown)
    HeapString heldFile;           // one of the run's files it holds (null: not said)
    HeapString restartCommand;     // the command line that starts it again (null: unknown)
    bool restartDeclined = false;  // it registered not to be started again after an update
    FoundBy foundBy = FoundBy::programFile;
    ClosingEnd end = ClosingEnd::running;
};

// The programs found; more than the limit are not told apart (their files wait for the restart).
constexpr int kRunningProgramLimit = 32;
struct RunningPrograms {
    RunningProgram items[kRunningProgramLimit];
    int count = 0;
    // Forgets every program found.
    void clear();
};

// The programs' names, one per line, for a question that names them. Null when the heap is
// exhausted; the caller frees it.
char* programNames(const RunningPrograms& programs);

// A set of full paths, compared without regard to case as the file system does.
class PathSet {
  public:
    // False when out of memory. Add every path, then seal the set before looking up.
    bool add(const char* path);
    void seal();
    bool contains(const char* path) const;
    int count() const { return paths_.count(); }
    const char* get(int i) const { return paths_.get(i); }

  private:
    StringList paths_;
};

}  // namespace kelvara
