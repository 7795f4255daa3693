// The parts of a product a person or the command line chooses: components (a tree of parts to
// install), tasks (things to do besides copying files) and setup types (named selections of
// components). The script's records fill the table; the rules here keep a selection whole: a
// ticked component ticks its parent, a cleared one clears the components under it, a fixed one
// stays, and the tasks of one group are a choice of one. Portable.
#pragma once
#include <cstddef>
#include <cstdint>

#include "formats/script_format.h"
#include "runtime/string_list.h"

namespace kelvara {

// The values of the uninstall entry that keep what an installation chose, in the form
// formatChoiceList writes: the next setup of the product starts from them.
constexpr const char* kChosenComponentsValue = "Setup Components";
constexpr const char* kChosenTasksValue = "Setup Tasks";

struct Choices {
    int componentCount = 0;
    std::uint8_t componentFlags[kChoiceLimit] = {};   // kChoiceDefault, kChoiceFixed
    std::uint8_t componentParent[kChoiceLimit] = {};  // 0: none, else the parent's index + 1
    std::uint32_t componentBytes[kChoiceLimit] = {};  // what its files need on disk
    StringList componentIds, componentNames, componentDescriptions;

    int taskCount = 0;
    std::uint8_t taskFlags[kChoiceLimit] = {};
    std::uint8_t taskGroup[kChoiceLimit] = {};  // 0: none; one group is a choice of one
    StringList taskIds, taskNames, taskDescriptions;

    int setupTypeCount = 0;
    std::uint8_t setupTypeFlags[kSetupTypeLimit] = {};  // kSetupTypeCustom
    std::uint32_t setupTypeComponents[kSetupTypeLimit] = {};
    StringList setupTypeIds, setupTypeNames;

    // The selection: bit i stands for component (task) i.
    std::uint32_t components = 0;
    std::uint32_t tasks = 0;

    // The condition of the records being applied (the last condition record's masks).
    std::uint32_t entryComponents = 0;
    std::uint32_t entryTasks = 0;
    // The selection whose entries the run keeps now (the records applied again for it).
    std::uint32_t keptComponents = 0;
    std::uint32_t keptTasks = 0;

    bool any() const { return componentCount > 0 || taskCount > 0; }
};

constexpr std::uint32_t choiceBit(int index) {
    return std::uint32_t{1} << index;
}

// True when a selection meets a condition: each mask that is not zero needs one of its parts
// selected (several components: any of them; a component and a task: both).
bool choiceConditionMet(const Choices& choices, std::uint32_t components, std::uint32_t tasks);

// Ticks (on) or clears component i, with the rules above. Out-of-range indexes do nothing.
void chooseComponent(Choices& choices, int index, bool on);
// Ticks or clears task i; ticking clears the other tasks of its group.
void chooseTask(Choices& choices, int index, bool on);
// The selection of setup type i: its components and every fixed one, with their parents. A
// custom type keeps the selection as it is.
void chooseSetupType(Choices& choices, int index);
// The setup type to show for the selection: the first one that is not custom whose components
// are exactly the selection's, else the first custom one, else -1.
int matchingSetupType(const Choices& choices);

// Applies a list such as "docs,tools,!samples" to the components (tasks false) or the tasks:
// each id, matched ignoring case, is ticked, and cleared after a leading "!", in order; spaces
// around an item are ignored and empty items skipped. False at the first id the product does not
// have, whose text (cut to fit) goes to `unknown` (of unknownSize bytes, at least 1); the items
// before it are applied. With `unknown` null, such ids are passed over (a list an earlier version
// of the product saved).
bool applyChoiceList(Choices& choices, const char* list, bool tasks, char* unknown,
                     std::size_t unknownSize);

// New heap string naming every component (tasks false) or task, ticked ones as they are and
// cleared ones after "!": the form applyChoiceList reads back. "" when there is none; null when
// the heap is exhausted. The caller frees it.
char* formatChoiceList(const Choices& choices, bool tasks);

// The install log's name for what belongs to the components of `mask`: their ids joined by
// "+" ("docs+samples"), as a new heap string; null for a mask of none, or when the heap is
// exhausted. The caller frees it.
char* partOfComponents(const Choices& choices, std::uint32_t mask);
// True when one of the components a part names (`length` bytes, ids joined by "+") is selected;
// ids the product does not have are not.
bool partChosen(const Choices& choices, const char* part, std::size_t length);

// Index of the setup type with this id (ignoring case), or -1.
int findSetupType(const Choices& choices, const char* id);

// The bytes the selected components' files need.
std::uint64_t selectedComponentBytes(const Choices& choices);

}  // namespace kelvara
