// Storage for one of the run's states (the script's configuration, the run's environment, the
// installation's, the uninstaller's, the wizard's). Portable.
#pragma once

namespace kelvara {

// A state that lives for the whole process at a constant address and starts as zero bytes, so
// that none of it is in the executable. The storage has no destructor of its own: the process
// ends in ExitProcess once the clean-up has given back what the state owns (its release
// function), and a destructor at exit would be code that never runs.
template <typename State>
union RunStateStorage {
    State state;
    constexpr RunStateStorage() : state() {}
    ~RunStateStorage() {}
};

}  // namespace kelvara
