// Action groups on the real system: programs started with their command lines, folders, window
// modes and waits, documents opened through the shell, DLL functions called with their
// arguments and the registration entry points inside OLE. The fixtures record every call.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "formats/setup_state.h"
#include "formats/variables.h"
#include "install/action_fixtures.h"
#include "install/action_lists.h"
#include "install/install_state.h"
#include "runtime/message_box_win32.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

std::vector<std::string> items(const StringList& list) {
    std::vector<std::string> result;
    for (int i = 0; i < list.count(); ++i) result.push_back(list.get(i) ? list.get(i) : "<hole>");
    return result;
}

std::string currentFolder() {
    char folder[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

class ActionLists : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixtures_.ready())
            << "the action fixtures were not copied from " << KELVARA_ACTION_FIXTURES;
        SetupState& s = setupState;
        ASSERT_TRUE(s.variableNames.create(5) && s.variableValues.create(5));
        ASSERT_TRUE(s.groupZeroPrograms.create(5) && s.groupZeroDllCalls.create(5));
        for (PageSlot& slot : s.pageSlots) {
            ASSERT_TRUE(slot.runPrograms.create(5) && slot.dllCalls.create(5));
        }
        // A failing step asks; quiet, it takes the answer that keeps the machine as it is (No)
        // and no one has to be there to answer.
        setQuietMessages(true);
        installState.installSucceeded = true;
    }
    void TearDown() override {
        SetupState& s = setupState;
        setQuietMessages(false);
        installState.installSucceeded = true;
        for (StringList* list :
             {&s.variableNames, &s.variableValues, &s.groupZeroPrograms, &s.groupZeroDllCalls}) {
            list->destroy();
        }
        for (PageSlot& slot : s.pageSlots) {
            slot.runPrograms.destroy();
            slot.dllCalls.destroy();
        }
    }

    // A stored program record for the recorder: arguments, folder, wait, run once, window.
    std::string program(const std::string& rest) const { return fixtures_.recorder() + "," + rest; }
    std::string dll(const std::string& rest) const { return fixtures_.probe() + "," + rest; }
    std::string quoted() const { return "\"" + fixtures_.recorder() + "\" "; }

    ActionFixtures fixtures_;
};

TEST_F(ActionLists, ProgramsThenDllCallsInListOrder) {
    SetupState& s = setupState;
    ASSERT_TRUE(defineVariable("%Mode%", "expanded value"));
    const std::string work = fixtures_.folder() + "\\work";
    ASSERT_TRUE(::CreateDirectoryA(work.c_str(), nullptr));
    s.groupZeroPrograms.append(program("first /a \"b c\"," + work + "\\,1,0,1").c_str());
    s.groupZeroPrograms.append(program("second %Mode%,,1,0,2").c_str());
    s.groupZeroPrograms.append(program("third,,1,0,9").c_str());
    s.groupZeroDllCalls.append(dll("TakesTwo,x y,z,0").c_str());
    s.groupZeroDllCalls.append(dll("TakesOne,only %Mode%,,0").c_str());
    s.groupZeroDllCalls.append(dll("TakesNothing,,,0").c_str());
    // The wrong number of arguments for the function: on i686 __stdcall the callee pops what it
    // takes, so these would unbalance the stack if the caller trusted it.
    s.groupZeroDllCalls.append(dll("TakesThree,a,b,0").c_str());
    s.groupZeroDllCalls.append(dll("TakesNothing,p,q,0").c_str());

    runActionGroup(0);

    std::vector<ActionLine> lines = fixtures_.lines();
    ASSERT_EQ(lines.size(), 8u) << describe(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].sequence, static_cast<int>(i)) << describe(lines);
    }
    EXPECT_EQ(lines[0].event, "start");
    EXPECT_EQ(lines[0].value("cmd"), quoted() + "first /a \"b c\"")
        << "the program quoted, the arguments as written";
    EXPECT_EQ(lines[0].value("cwd"), work) << "one trailing backslash removed";
    EXPECT_EQ(lines[0].value("show"), std::to_string(SW_SHOWMINNOACTIVE)) << "window mode 1";
    EXPECT_EQ(lines[0].value("flags"), "0x41") << "STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK";
    EXPECT_EQ(lines[1].value("cmd"), quoted() + "second expanded value");
    EXPECT_EQ(lines[1].value("cwd"), currentFolder()) << "no folder: the caller's";
    EXPECT_EQ(lines[1].value("show"), std::to_string(SW_SHOWMAXIMIZED)) << "window mode 2";
    EXPECT_EQ(lines[2].value("show"), std::to_string(SW_SHOW)) << "any other mode: normal";

    EXPECT_EQ(lines[3].event, "TakesTwo");
    EXPECT_EQ(lines[3].value("args"), "x y|z");
    EXPECT_EQ(lines[4].event, "TakesOne");
    EXPECT_EQ(lines[4].value("args"), "only expanded value|<none>");
    EXPECT_EQ(lines[5].event, "TakesNothing");
    EXPECT_EQ(lines[6].event, "TakesThree");
    EXPECT_EQ(lines[6].value("args"), "a|b");
    EXPECT_EQ(lines[7].event, "TakesNothing");

    EXPECT_EQ(s.groupZeroPrograms.count(), 3) << "run-once clear: the records stay";
    EXPECT_EQ(s.groupZeroDllCalls.count(), 5);
}

TEST_F(ActionLists, RunOnceRecordsRunOncePerPair) {
    StringList& programs = setupState.pageSlots[4].runPrograms;  // group 5
    StringList& calls = setupState.pageSlots[4].dllCalls;
    programs.append(program("once-a,,1,1").c_str());
    programs.append(program("every,,1,0").c_str());
    programs.append(program("once-b,,1,").c_str());  // an empty run-once field: once
    calls.append(dll("TakesOne,once").c_str());
    calls.append(dll("TakesOne,every,,0").c_str());

    runActionGroup(5);
    runActionGroup(5);
    runActionGroup(4);  // another group's lists are empty

    std::vector<std::string> seen;
    for (const ActionLine& line : fixtures_.lines()) {
        seen.push_back(line.event == "start" ? line.value("cmd").substr(quoted().size())
                                             : line.event + " " + line.value("args"));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"once-a", "every", "once-b", "TakesOne once|<none>",
                                              "TakesOne every|<none>", "every",
                                              "TakesOne every|<none>"}));
    EXPECT_EQ(items(programs), std::vector<std::string>{program("every,,1,0")});
    EXPECT_EQ(items(calls), std::vector<std::string>{dll("TakesOne,every,,0")});
}

TEST_F(ActionLists, AFailingStepEndsTheGroupItsRecordStaysAndAFailedOpenGoes) {
    SetupState& s = setupState;
    const std::string missing = fixtures_.folder() + "\\missing.exe";
    const std::string failedProgram = missing + ",x,,1,1";
    const std::string noDll = fixtures_.folder() + "\\missing.dll,TakesNothing,,,1";
    const std::string noFunction = dll("NoSuchFunction,,,1");
    const std::string failedOpen = "open," + fixtures_.folder() + "\\missing.none,,0,1";
    for (const std::string& record : {failedOpen, failedProgram}) {
        s.groupZeroPrograms.append(record.c_str());
    }
    for (const std::string& record : {noDll, noFunction}) {
        s.groupZeroDllCalls.append(record.c_str());
    }

    EXPECT_FALSE(runActionGroup(0)) << "a program that cannot start, answered No, ends the run";
    EXPECT_FALSE(installState.installSucceeded);
    EXPECT_EQ(items(s.groupZeroPrograms), std::vector<std::string>{failedProgram})
        << "a program that could not start stays; an open goes whatever its result";
    EXPECT_EQ(items(s.groupZeroDllCalls), (std::vector<std::string>{noDll, noFunction}))
        << "the group's DLL calls are not reached";

    // A DLL that cannot be loaded and a function a DLL lacks are failing steps too.
    s.groupZeroPrograms.clear();
    for (const std::string& record : {noFunction, noDll}) {
        s.groupZeroDllCalls.clear();
        s.groupZeroDllCalls.append(record.c_str());
        installState.installSucceeded = true;
        EXPECT_FALSE(runActionGroup(0)) << record;
        EXPECT_FALSE(installState.installSucceeded) << record;
        EXPECT_EQ(items(s.groupZeroDllCalls), std::vector<std::string>{record});
    }
    EXPECT_TRUE(fixtures_.lines().empty()) << describe(fixtures_.lines());
}

// Counts the paint messages and every other message a window receives.
int paints = 0;
int others = 0;
constexpr UINT kNotForTheWait = WM_APP + 7;

LRESULT CALLBACK countingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++paints;
        PAINTSTRUCT paint;
        ::BeginPaint(window, &paint);
        ::EndPaint(window, &paint);
        return 0;
    }
    if (message == kNotForTheWait) ++others;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ActionLists, TheWaitRepaintsButTakesNoOtherMessage) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = countingProcedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelvaraActionWaitTest";
    ::RegisterClassA(&windowClass);
    HWND window = ::CreateWindowA("KelvaraActionWaitTest", "wait", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    paints = others = 0;
    ::InvalidateRect(window, nullptr, TRUE);
    ::PostMessageA(window, kNotForTheWait, 0, 0);
    setupState.groupZeroPrograms.append(program("paint --sleep=700,,1,0").c_str());

    runActionGroup(0);

    EXPECT_GE(paints, 1) << "the waiting thread's windows repaint";
    EXPECT_EQ(others, 0) << "no other message is dispatched while waiting";
    EXPECT_TRUE(::PeekMessageA(&message, window, kNotForTheWait, kNotForTheWait, PM_REMOVE))
        << "the posted message is still waiting in the queue";
    ::DestroyWindow(window);
    ::UnregisterClassA("KelvaraActionWaitTest", windowClass.hInstance);
}

// A document type of its own, opened by the recorder, in the classes root; removed afterwards.
class DocumentType {
  public:
    DocumentType(const std::string& extension, const std::string& program)
        : extension_(extension), type_("KelvaraActionTest" + extension) {
        set(extension_, type_);
        set(type_ + "\\shell\\open\\command", "\"" + program + "\" \"%1\"");
    }
    ~DocumentType() {
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (type_ + "\\shell\\open\\command").c_str());
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (type_ + "\\shell\\open").c_str());
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (type_ + "\\shell").c_str());
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, type_.c_str());
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, extension_.c_str());
    }

  private:
    static void set(const std::string& key, const std::string& value) {
        HKEY handle;
        if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &handle, nullptr) != ERROR_SUCCESS) {
            return;
        }
        ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
        ::RegCloseKey(handle);
    }
    std::string extension_;
    std::string type_;
};

TEST_F(ActionLists, OpenInAnyLetterCaseGoesThroughTheShell) {
    const std::string extension = ".kvr" + std::to_string(::GetCurrentProcessId());
    DocumentType type(extension, fixtures_.recorder());
    const std::string work = fixtures_.folder() + "\\open folder";
    ASSERT_TRUE(::CreateDirectoryA(work.c_str(), nullptr));
    const std::string documents[] = {fixtures_.folder() + "\\one" + extension,
                                     fixtures_.folder() + "\\two" + extension,
                                     fixtures_.folder() + "\\three" + extension};
    for (const std::string& document : documents) {
        HANDLE file =
            ::CreateFileA(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ::CloseHandle(file);
    }
    StringList& programs = setupState.pageSlots[10].runPrograms;  // group 11
    programs.append(("OPEN," + documents[0] + "," + work + "\\,1,1").c_str());
    programs.append(("oPeN," + documents[1] + ",,1,1").c_str());

    runActionGroup(11);
    // The finish decisions' way to the shell: no list, no waiting.
    openThroughShell(documents[2].c_str(), (work + "\\").c_str());

    EXPECT_EQ(programs.count(), 0) << "both opened, and run once";
    std::vector<ActionLine> lines = fixtures_.waitForLines(3);
    ASSERT_EQ(lines.size(), 3u) << describe(lines);
    // Opened without waiting: they may start in any order.
    auto opened = [&](const std::string& document) -> const ActionLine* {
        for (const ActionLine& line : lines) {
            if (line.value("cmd").find(document) != std::string::npos) return &line;
        }
        return nullptr;
    };
    const ActionLine* one = opened(documents[0]);
    const ActionLine* two = opened(documents[1]);
    const ActionLine* three = opened(documents[2]);
    ASSERT_TRUE(one && two && three) << describe(lines);
    EXPECT_EQ(one->value("cwd"), work) << "the working folder, trailing slash removed";
    EXPECT_EQ(three->value("cwd"), work);
}

TEST_F(ActionLists, RegistrationEntryPointsRunInsideOle) {
    StringList& calls = setupState.groupZeroDllCalls;
    calls.append(dll("DllRegisterServer").c_str());
    calls.append(dll("dllregisterserver").c_str());
    calls.append(dll("TLBUnregister").c_str());

    runActionGroup(0);

    std::vector<ActionLine> lines = fixtures_.lines();
    ASSERT_EQ(lines.size(), 3u) << describe(lines);
    EXPECT_EQ(lines[0].event, "DllRegisterServer");
    EXPECT_EQ(lines[0].value("ole"), "sta") << "called between OleInitialize and OleUninitialize";
    EXPECT_EQ(lines[1].event, "dllregisterserver");
    EXPECT_EQ(lines[1].value("ole"), "none") << "another letter case is an ordinary function";
    EXPECT_EQ(lines[2].event, "TLBUnregister");
    EXPECT_EQ(lines[2].value("ole"), "sta");
    EXPECT_EQ(calls.count(), 0);

    HRESULT after = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(after, S_OK) << "OLE was released again: the thread is in no apartment";
    if (SUCCEEDED(after)) ::CoUninitialize();
}

TEST_F(ActionLists, ARegistrationThatOleRefusesIsNotCalledAndStays) {
    const std::string record = dll("DllUnregisterServer");
    setupState.groupZeroDllCalls.append(record.c_str());
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);

    EXPECT_FALSE(runActionGroup(0)) << "a registration that could not be made is a failing step";

    ::CoUninitialize();
    EXPECT_TRUE(fixtures_.lines().empty())
        << "OleInitialize fails in a multi-threaded apartment" << describe(fixtures_.lines());
    EXPECT_EQ(items(setupState.groupZeroDllCalls), std::vector<std::string>{record})
        << "not called: it stays for the next run of its group";
}

}  // namespace
