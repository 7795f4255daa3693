#include "formats/choices.h"

#include <cstring>

#include "runtime/heap.h"

namespace kelvara {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

// True when component i lies under component `ancestor` (at any depth).
bool liesUnder(const Choices& choices, int i, int ancestor) {
    for (int parent = choices.componentParent[i]; parent > 0;
         parent = choices.componentParent[parent - 1]) {
        if (parent - 1 == ancestor) return true;
    }
    return false;
}

// Setup type t's components and the fixed ones, with the components they lie in. Parents come
// before their children, so one walk from the last component up reaches every ancestor.
std::uint32_t setupTypeSelection(const Choices& choices, int t) {
    std::uint32_t mask = choices.setupTypeComponents[t];
    for (int i = 0; i < choices.componentCount; ++i) {
        if (choices.componentFlags[i] & kChoiceFixed) mask |= choiceBit(i);
    }
    for (int i = choices.componentCount - 1; i >= 0; --i) {
        const int parent = choices.componentParent[i];
        if ((mask & choiceBit(i)) && parent > 0) mask |= choiceBit(parent - 1);
    }
    return mask & (choices.componentCount >= 32 ? ~0u : choiceBit(choices.componentCount) - 1);
}

}  // namespace

bool choiceConditionMet(const Choices& choices, std::uint32_t components, std::uint32_t tasks) {
    return (components == 0 || (components & choices.components) != 0) &&
           (tasks == 0 || (tasks & choices.tasks) != 0);
}

void chooseComponent(Choices& choices, int index, bool on) {
    if (index < 0 || index >= choices.componentCount) return;
    if (on) {
        // The component and the components it lies in: parents come before their children, so
        // a parent index is always in range and the walk up ends.
        for (int i = index + 1; i > 0; i = choices.componentParent[i - 1]) {
            choices.components |= choiceBit(i - 1);
        }
        return;
    }
    // A fixed component stays, and so does every component a fixed one lies in.
    if (choices.componentFlags[index] & kChoiceFixed) return;
    for (int i = index + 1; i < choices.componentCount; ++i) {
        if ((choices.componentFlags[i] & kChoiceFixed) && liesUnder(choices, i, index)) return;
    }
    choices.components &= ~choiceBit(index);
    for (int i = index + 1; i < choices.componentCount; ++i) {
        if (liesUnder(choices, i, index)) choices.components &= ~choiceBit(i);
    }
}

void chooseTask(Choices& choices, int index, bool on) {
    if (index < 0 || index >= choices.taskCount) return;
    if (on && choices.taskGroup[index] != 0) {
        for (int i = 0; i < choices.taskCount; ++i) {
            if (choices.taskGroup[i] == choices.taskGroup[index]) choices.tasks &= ~choiceBit(i);
        }
    }
    if (on) {
        choices.tasks |= choiceBit(index);
    } else {
        choices.tasks &= ~choiceBit(index);
    }
}

void chooseSetupType(Choices& choices, int index) {
    if (index >= 0 && index < choices.setupTypeCount &&
        !(choices.setupTypeFlags[index] & kSetupTypeCustom)) {
        choices.components = setupTypeSelection(choices, index);
    }
}

int matchingSetupType(const Choices& choices) {
    int custom = -1;
    for (int t = 0; t < choices.setupTypeCount; ++t) {
        if (choices.setupTypeFlags[t] & kSetupTypeCustom) {
            if (custom < 0) custom = t;
        } else if (setupTypeSelection(choices, t) == choices.components) {
            return t;
        }
    }
    return custom;
}

bool applyChoiceList(Choices& choices, const char* list, bool tasks, char* unknown,
                     std::size_t unknownSize) {
    const StringList& ids = tasks ? choices.taskIds : choices.componentIds;
    const int count = tasks ? choices.taskCount : choices.componentCount;
    char item[256];
    for (const char* at = list; at && *at;) {
        const char* end = std::strchr(at, ',');
        if (!end) end = at + std::strlen(at);
        const char* first = at;
        const char* last = end;
        at = *end ? end + 1 : end;
        while (first < last && isSpace(*first)) ++first;
        while (last > first && isSpace(last[-1])) --last;
        const bool on = !(first < last && *first == '!');
        if (!on) ++first;
        while (first < last && isSpace(*first)) ++first;
        if (first == last) continue;
        std::size_t length = static_cast<std::size_t>(last - first);
        if (length >= sizeof item) length = sizeof item - 1;
        std::memcpy(item, first, length);
        item[length] = '\0';
        const int index = ids.find(item, 0, 0);
        if ((index < 0 || index >= count) && !unknown) continue;
        if (index < 0 || index >= count) {
            const std::size_t shown = length < unknownSize - 1 ? length : unknownSize - 1;
            std::memcpy(unknown, item, shown);
            unknown[shown] = '\0';
            return false;
        }
        if (tasks) {
            chooseTask(choices, index, on);
        } else {
            chooseComponent(choices, index, on);
        }
    }
    return true;
}

char* formatChoiceList(const Choices& choices, bool tasks) {
    const StringList& ids = tasks ? choices.taskIds : choices.componentIds;
    const int count = tasks ? choices.taskCount : choices.componentCount;
    const std::uint32_t selected = tasks ? choices.tasks : choices.components;
    std::size_t size = 1;
    for (int i = 0; i < count; ++i) {
        const char* id = ids.get(i);
        size += (id ? std::strlen(id) : 0) + 2;
    }
    auto* text = static_cast<char*>(heapAlloc(size));
    if (!text) return nullptr;
    char* end = text;
    for (int i = 0; i < count; ++i) {
        const char* id = ids.get(i);
        if (!id) continue;
        if (end != text) *end++ = ',';
        if (!(selected & choiceBit(i))) *end++ = '!';
        const std::size_t length = std::strlen(id);
        std::memcpy(end, id, length);
        end += length;
    }
    return text;
}

char* partOfComponents(const Choices& choices, std::uint32_t mask) {
    std::size_t size = 1;
    for (int i = 0; i < choices.componentCount; ++i) {
        const char* id = choices.componentIds.get(i);
        if ((mask & choiceBit(i)) && id) size += std::strlen(id) + 1;
    }
    if (size == 1) return nullptr;
    auto* text = static_cast<char*>(heapAlloc(size));
    if (!text) return nullptr;
    char* end = text;
    for (int i = 0; i < choices.componentCount; ++i) {
        const char* id = choices.componentIds.get(i);
        if (!(mask & choiceBit(i)) || !id) continue;
        if (end != text) *end++ = '+';
        const std::size_t length = std::strlen(id);
        std::memcpy(end, id, length);
        end += length;
    }
    return text;
}

bool partChosen(const Choices& choices, const char* part, std::size_t length) {
    char id[256];
    for (std::size_t at = 0; at < length;) {
        std::size_t end = at;
        while (end < length && part[end] != '+') ++end;
        const std::size_t n = end - at;
        if (n < sizeof id) {
            std::memcpy(id, part + at, n);
            id[n] = '\0';
            const int index = choices.componentIds.find(id, 0, 0);
            if (index >= 0 && index < choices.componentCount &&
                (choices.components & choiceBit(index))) {
                return true;
            }
        }
        at = end + 1;
    }
    return false;
}

int findSetupType(const Choices& choices, const char* id) {
    const int index = id ? choices.setupTypeIds.find(id, 0, 0) : -1;
    return index < choices.setupTypeCount ? index : -1;
}

std::uint64_t selectedComponentBytes(const Choices& choices) {
    std::uint64_t total = 0;
    for (int i = 0; i < choices.componentCount; ++i) {
        if (choices.components & choiceBit(i)) total += choices.componentBytes[i];
    }
    return total;
}

}  // namespace kelvara
