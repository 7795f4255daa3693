// [[components]], [[tasks]] and [[setup-types]]: the parts of a product a person or the command
// line chooses, checked against the rules the engine's selection keeps (formats/choices.h), and
// the `component` and `task` keys that make file groups and entries depend on them.
#include <algorithm>
#include <string>
#include <vector>

#include "formats/choices.h"
#include "formats/script_format.h"
#include "kelvara-build/project/choice_condition.h"
#include "kelvara-build/project/project_names.h"
#include "kelvara-build/project/project_parser.h"

namespace kelvara::build {
namespace {

// The command line names parts by their ids in comma-separated lists, cleared ones after "!",
// and the engine matches each of at most 255 characters.
constexpr std::size_t kLongestChoiceId = 255;

bool isIdCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

// The table's required `id`, checked; empty when missing or wrong (reported).
std::string choiceId(TableReader& r) {
    std::optional<std::string> id = r.text("id");
    if (!id) {
        if (!r.node("id")) r.diagnostics().error(r.line(), r.where() + " needs an 'id'");
        return "";
    }
    bool plain = !id->empty() && id->size() <= kLongestChoiceId;
    for (char c : *id) plain = plain && isIdCharacter(c);
    if (!plain) {
        r.error("id", "'id' '" + *id + "' in " + r.where() +
                          " must be 1 to 255 letters, digits, '-', '_' or '.'");
        return "";
    }
    return *id;
}

// The table's required, non-empty `name`.
std::string choiceName(TableReader& r) {
    std::optional<std::string> name = r.text("name");
    if (!name || name->empty()) {
        if (!name && r.node("name")) return "";  // a name of the wrong kind is reported
        r.diagnostics().error(r.line(), r.where() + " needs a 'name' to show");
        return "";
    }
    return *name;
}

// The index of the item whose id is `id`, ignoring case, or -1.
template <class Item>
int indexOf(const std::vector<Item>& items, const std::string& id) {
    const std::string wanted = lower(id);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].id.empty() && lower(items[i].id) == wanted) return static_cast<int>(i);
    }
    return -1;
}

// Ids given twice (ignoring case), at the later one's line, and the items past the limit.
template <class Item>
void checkIds(const std::vector<Item>& items, const std::string& what, std::size_t limit,
              const std::string& why, Diagnostics& d) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int first = indexOf(items, items[i].id);
        if (first >= 0 && static_cast<std::size_t>(first) < i) {
            d.error(items[i].line, "the " + what + " '" + items[i].id + "' is declared at line " +
                                       std::to_string(items[first].line) +
                                       " already (ids are matched ignoring case)");
        }
    }
    if (items.size() > limit) {
        d.error(items[limit].line, "more than " + std::to_string(limit) + " " + what +
                                       "s: a product has at most " + std::to_string(limit) + ", " +
                                       why);
    }
}

constexpr const char* kMaskLimit = "as the engine keeps a selection in 32 bits";

}  // namespace

void ProjectParser::choices(TableReader& root) {
    if (const toml::node* node = root.node("components")) components(*node);
    if (const toml::node* node = root.node("tasks")) tasks(*node);
    if (const toml::node* node = root.node("setup-types")) setupTypes(*node);
}

void ProjectParser::components(const toml::node& node) {
    // As declared; placed in their order below once every parent is known.
    std::vector<Component> declared;
    struct Parent {
        std::string id;
        int line = 0;
    };
    std::vector<Parent> parentIds;
    eachTable(node, "components", [&](const toml::table& t) {
        TableReader r(t, "[[components]]", d_, p_.encoding, keys_);
        Component c;
        c.line = r.line();
        c.id = choiceId(r);
        c.name = choiceName(r);
        c.description = r.text("description").value_or("");
        c.isDefault = r.boolean("default", true);
        c.fixed = r.boolean("fixed", false);
        if (c.fixed && !c.isDefault) {
            r.error("default",
                    "a fixed component is always installed, so it cannot be left out "
                    "by default: drop 'default = false' or 'fixed'");
        }
        Parent parent;
        if (r.node("parent")) {
            parent.id = r.text("parent").value_or("");
            parent.line = r.lineOf("parent");
        }
        declared.push_back(c);
        parentIds.push_back(parent);
    });
    checkIds(declared, "component", kChoiceLimit, kMaskLimit, d_);

    const std::size_t count = declared.size();
    std::vector<int> parentOf(count, -1);
    std::vector<std::vector<int>> children(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (parentIds[i].line == 0 || parentIds[i].id.empty()) continue;
        const int parent = indexOf(declared, parentIds[i].id);
        if (parent < 0) {
            d_.error(parentIds[i].line, "'parent' of component '" + declared[i].id + "' names '" +
                                            parentIds[i].id +
                                            "', which no [[components]] table declares");
            continue;
        }
        parentOf[i] = parent;
        children[parent].push_back(static_cast<int>(i));
    }

    // Depth first from the components without a parent: each right after its parent and its
    // elder siblings' subtrees, siblings in the file's order. A tree shows so whatever the
    // order of the file, and the engine meets every parent before its children.
    std::vector<int> order;
    std::vector<bool> placed(count, false);
    std::vector<int> stack;
    for (std::size_t i = count; i-- > 0;) {
        if (parentOf[i] < 0) stack.push_back(static_cast<int>(i));
    }
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        placed[i] = true;
        order.push_back(i);
        for (auto child = children[i].rbegin(); child != children[i].rend(); ++child)
            stack.push_back(*child);
    }
    // What was never reached lies under itself: each cycle is reported once.
    std::vector<bool> reported(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        if (placed[i] || reported[i]) continue;
        std::vector<int> path;
        int at = static_cast<int>(i);
        while (!reported[at] && std::find(path.begin(), path.end(), at) == path.end()) {
            path.push_back(at);
            at = parentOf[at];
        }
        for (int member : path) reported[member] = true;
        if (std::find(path.begin(), path.end(), at) == path.end()) continue;  // met a reported
        std::string chain;
        for (auto member = std::find(path.begin(), path.end(), at); member != path.end(); ++member)
            chain += "'" + declared[*member].id + "' > ";
        d_.error(declared[at].line, "component '" + declared[at].id +
                                        "' lies under itself: its parents run " + chain + "'" +
                                        declared[at].id + "'");
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!placed[i]) order.push_back(static_cast<int>(i));  // in a cycle: reported
    }

    std::vector<int> placedAt(count, -1);
    for (std::size_t n = 0; n < order.size(); ++n) placedAt[order[n]] = static_cast<int>(n);
    for (int i : order) {
        Component c = declared[i];
        c.parent = placed[i] && parentOf[i] >= 0 ? placedAt[parentOf[i]] : -1;
        p_.components.push_back(c);
    }
    // The engine's rules keep a fixed component installed with every component it lies in.
    for (const Component& c : p_.components) {
        if (c.parent < 0 || !c.fixed || p_.components[c.parent].fixed) continue;
        d_.error(c.line, "the fixed component '" + c.id + "' lies under '" +
                             p_.components[c.parent].id +
                             "', which is not fixed: every component above a fixed one must be "
                             "fixed too");
    }
}

void ProjectParser::tasks(const toml::node& node) {
    std::vector<std::string> groups;  // by number - 1, in order of first appearance
    std::vector<int> defaultOfGroup;  // the line of the group's default task, 0 for none
    eachTable(node, "tasks", [&](const toml::table& t) {
        TableReader r(t, "[[tasks]]", d_, p_.encoding, keys_);
        Task task;
        task.line = r.line();
        task.id = choiceId(r);
        task.name = choiceName(r);
        task.description = r.text("description").value_or("");
        task.isDefault = r.boolean("default", false);
        if (std::optional<std::string> group = r.text("group")) {
            if (group->empty()) {
                r.error("group", "'group' in [[tasks]] may not be empty");
            } else {
                auto found = std::find(groups.begin(), groups.end(), lower(*group));
                if (found == groups.end()) {
                    groups.push_back(lower(*group));
                    defaultOfGroup.push_back(0);
                    found = groups.end() - 1;
                }
                task.group = static_cast<int>(found - groups.begin()) + 1;
                int& groupDefault = defaultOfGroup[task.group - 1];
                // One of a group is chosen at a time: a second default would replace the first.
                if (task.isDefault && groupDefault != 0) {
                    r.error("default", "the task group '" + *group +
                                           "' has its default task at line " +
                                           std::to_string(groupDefault) +
                                           " already: one task of a group is chosen at a time");
                } else if (task.isDefault) {
                    groupDefault = task.line;
                }
            }
        }
        p_.tasks.push_back(task);
    });
    checkIds(p_.tasks, "task", kChoiceLimit, kMaskLimit, d_);
}

void ProjectParser::setupTypes(const toml::node& node) {
    eachTable(node, "setup-types", [&](const toml::table& t) {
        TableReader r(t, "[[setup-types]]", d_, p_.encoding, keys_);
        SetupType type;
        type.line = r.line();
        type.id = choiceId(r);
        type.name = choiceName(r);
        type.custom = r.boolean("custom", false);
        const auto named = r.texts("components");
        if (type.custom && named && !named->empty()) {
            r.error("components",
                    "a custom setup type keeps the boxes the person ticks, so it "
                    "names no components");
        }
        for (const std::string& id : named.value_or(std::vector<std::string>{})) {
            const int index = indexOf(p_.components, id);
            if (index < 0) {
                r.error("components", "'components' of setup type '" + type.id + "' names '" + id +
                                          "', which no [[components]] table declares");
            } else if (index < kChoiceLimit) {
                type.components |= choiceBit(index);
            }
        }
        p_.setupTypes.push_back(type);
    });
    checkIds(p_.setupTypes, "setup type", kSetupTypeLimit,
             "as the engine keeps at most " + std::to_string(kSetupTypeLimit), d_);
    if (!p_.setupTypes.empty() && p_.components.empty()) {
        d_.error(p_.setupTypes.front().line,
                 "[[setup-types]] select components, and the project declares no [[components]]");
    }
}

void ProjectParser::checkChoicePages() {
    struct ChoicePage {
        int slot;
        bool has;
        const char* name;
        const char* table;
    };
    const ChoicePage pages[] = {
        {kPageComponents, !p_.components.empty(), "components", "[[components]]"},
        {kPageTasks, !p_.tasks.empty(), "tasks", "[[tasks]]"},
    };
    for (const ChoicePage& page : pages) {
        if (page.has && !pagesListed_) p_.pages[page.slot] = 1;
        if (!page.has && p_.pages[page.slot]) {
            d_.error(pagesLine_, std::string("the ") + page.name +
                                     " page is shown but the project declares no " + page.table);
        }
    }
}

ChoiceCondition readChoiceCondition(TableReader& r, const Project& p) {
    ChoiceCondition condition;
    struct Kind {
        const char* key;
        bool components;
    };
    for (const Kind kind : {Kind{"component", true}, Kind{"task", false}}) {
        std::optional<std::vector<std::string>> ids = r.texts(kind.key);
        for (const std::string& id : ids.value_or(std::vector<std::string>{})) {
            const int index = kind.components ? indexOf(p.components, id) : indexOf(p.tasks, id);
            if (index < 0) {
                r.error(kind.key, "'" + std::string(kind.key) + "' in " + r.where() + " names '" +
                                      id + "', which no " +
                                      (kind.components ? "[[components]]" : "[[tasks]]") +
                                      " table declares");
                continue;
            }
            if (index >= kChoiceLimit) continue;  // past the limit: reported with the tables
            (kind.components ? condition.components : condition.tasks) |= choiceBit(index);
        }
    }
    return condition;
}

}  // namespace kelvara::build
