#include <gtest/gtest.h>

#include <string>

#include "formats/choices.h"
#include "formats/setup_state.h"
#include "runtime/heap_string.h"

using namespace kelvara;

namespace {

// A tree: app (fixed) / tools > tools.cli > tools.cli.extra / help; setup types "all",
// "minimal" and a custom one; tasks a and b in one group, c alone.
void makeProduct(Choices& c) {
    const struct {
        const char* id;
        std::uint8_t flags;
        std::uint8_t parent;
    } components[] = {{"app", kChoiceFixed, 0},
                      {"tools", 0, 0},
                      {"tools.cli", 0, 2},
                      {"tools.cli.extra", 0, 3},
                      {"help", 0, 0}};
    for (const auto& part : components) {
        c.componentIds.append(part.id);
        c.componentFlags[c.componentCount] = part.flags;
        c.componentParent[c.componentCount] = part.parent;
        c.componentBytes[c.componentCount] = 1u << c.componentCount;
        ++c.componentCount;
    }
    for (const char* id : {"all", "minimal", "custom"}) c.setupTypeIds.append(id);
    c.setupTypeComponents[0] = 0x1F;
    c.setupTypeComponents[1] = 0x10;  // help alone: app comes with it, being fixed
    c.setupTypeFlags[2] = kSetupTypeCustom;
    c.setupTypeCount = 3;
    for (const char* id : {"a", "b", "c"}) c.taskIds.append(id);
    c.taskGroup[0] = c.taskGroup[1] = 1;
    c.taskCount = 3;
}

std::string listOf(const Choices& c, bool tasks) {
    HeapString text(formatChoiceList(c, tasks));
    return text ? text.get() : "(null)";
}

}  // namespace

TEST(Choices, TheRulesKeepASelectionWhole) {
    Choices c;
    for (StringList* list : {&c.componentIds, &c.setupTypeIds, &c.taskIds}) list->create(4);
    makeProduct(c);

    chooseComponent(c, 3, true);
    EXPECT_EQ(c.components, 0xEu) << "a deep child ticks every component it lies in";
    chooseComponent(c, 1, false);
    EXPECT_EQ(c.components, 0x0u) << "clearing a parent clears all below it";
    chooseComponent(c, 0, false);
    chooseComponent(c, 0, true);
    chooseComponent(c, 0, false);
    EXPECT_EQ(c.components, 0x1u) << "a fixed component stays";
    chooseComponent(c, 7, true);
    chooseComponent(c, -1, true);
    EXPECT_EQ(c.components, 0x1u) << "indexes outside the product do nothing";

    chooseSetupType(c, 1);
    EXPECT_EQ(c.components, 0x11u);
    EXPECT_EQ(matchingSetupType(c), 1);
    chooseSetupType(c, 2);
    EXPECT_EQ(c.components, 0x11u) << "the custom type keeps the boxes";
    chooseComponent(c, 1, true);
    EXPECT_EQ(matchingSetupType(c), 2) << "boxes no type has: the custom one";
    chooseSetupType(c, 0);
    EXPECT_EQ(matchingSetupType(c), 0);
    EXPECT_EQ(selectedComponentBytes(c), 31u);

    chooseTask(c, 0, true);
    chooseTask(c, 2, true);
    chooseTask(c, 1, true);
    EXPECT_EQ(c.tasks, 0x6u) << "b clears a, its group's other task; c is alone";
    EXPECT_TRUE(choiceConditionMet(c, 0, 0));
    EXPECT_TRUE(choiceConditionMet(c, 0x3, 0)) << "any of several components";
    EXPECT_FALSE(choiceConditionMet(c, 0x1F, 0x1)) << "a component and a task: both";
    EXPECT_FALSE(choiceConditionMet(c, 0x20, 0));

    // What a run saves reads back into the same selection, whatever the run started from.
    const std::string components = listOf(c, false), tasks = listOf(c, true);
    EXPECT_EQ(components, "app,tools,tools.cli,tools.cli.extra,help");
    EXPECT_EQ(tasks, "!a,b,c");
    Choices again;
    for (StringList* list : {&again.componentIds, &again.setupTypeIds, &again.taskIds})
        list->create(4);
    makeProduct(again);
    chooseTask(again, 0, true);
    ASSERT_TRUE(applyChoiceList(again, components.c_str(), false, nullptr, 0));
    ASSERT_TRUE(applyChoiceList(again, tasks.c_str(), true, nullptr, 0));
    EXPECT_EQ(again.components, c.components);
    EXPECT_EQ(again.tasks, c.tasks);

    // The command line's lists: in order, ignoring case and blanks; an id the product lacks is
    // named, and one an earlier version saved is passed over.
    char unknown[6];
    EXPECT_TRUE(applyChoiceList(again, " ! TOOLS.CLI ,, Help ", false, unknown, sizeof unknown));
    EXPECT_EQ(again.components, 0x13u);
    EXPECT_FALSE(applyChoiceList(again, "!help,tools.gui,app", false, unknown, sizeof unknown));
    EXPECT_STREQ(unknown, "tools") << "cut to its buffer";
    EXPECT_EQ(again.components, 0x03u) << "the items before it applied, none after";
    EXPECT_TRUE(applyChoiceList(again, "gone,!tools", false, nullptr, 0));
    EXPECT_EQ(again.components, 0x01u);
    EXPECT_EQ(findSetupType(again, "MINIMAL"), 1);
    EXPECT_EQ(findSetupType(again, "none"), -1);
}
