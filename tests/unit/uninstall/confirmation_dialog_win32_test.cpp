// The confirmation dialog from the engine's resources (linked into this test program): its
// texts and buttons, and the answer each way of ending it gives.
#include "uninstall/confirmation_dialog_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "window_watch.h"

using namespace kelvara;
using namespace kelvara_test;

namespace {

std::string itemText(HWND dialog, int id) {
    char text[256] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct Outcome {
    INT_PTR answer = -2;
    std::vector<SeenWindow> seen;
};

Outcome ask(UINT message, WPARAM wParam) {
    Outcome outcome;
    const ConfirmationRequest request = {"Shared File Detected", "Remove it?\nReally?"};
    outcome.seen = runWatched(
        [&] { outcome.answer = confirmationDialog(nullptr, request); },
        [=](HWND dialog, const SeenWindow&) { ::PostMessageA(dialog, message, wParam, 0); });
    return outcome;
}

TEST(ConfirmationDialog, ShowsTheRequestWithItsThreeButtonsAndTheQuestionIcon) {
    const ConfirmationRequest request = {"Caption Here", "The question & its text"};
    INT_PTR answer = -2;
    std::string yes, yesToAll, no, question;
    bool hasIcon = false;
    LONG style = 0;
    std::vector<SeenWindow> seen =
        runWatched([&] { answer = confirmationDialog(nullptr, request); },
                   [&](HWND dialog, const SeenWindow&) {
                       yes = itemText(dialog, IDOK);
                       yesToAll = itemText(dialog, 1011);
                       no = itemText(dialog, IDCANCEL);
                       question = itemText(dialog, 1001);
                       hasIcon = ::SendDlgItemMessageA(dialog, 1002, STM_GETICON, 0, 0) != 0;
                       style = ::GetWindowLongA(dialog, GWL_STYLE);
                       ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                   });
    ASSERT_EQ(seen.size(), 1u) << captions(seen);
    EXPECT_EQ(seen[0].caption, "Caption Here");
    EXPECT_EQ(question, "The question & its text");
    EXPECT_EQ(yes, "&Yes");
    EXPECT_EQ(yesToAll, "Yes To &All");
    EXPECT_EQ(no, "&No");
    EXPECT_TRUE(hasIcon);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_POPUP), WS_CAPTION | WS_SYSMENU | WS_POPUP);
    EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(answer, kConfirmNo);
}

// The No button (IDCANCEL) is pressed in the test above.
TEST(ConfirmationDialog, EachWayOutGivesItsAnswer) {
    struct Case {
        const char* how;
        UINT message;
        WPARAM wParam;
        INT_PTR answer;
    } cases[] = {
        {"Yes", WM_COMMAND, IDOK, kConfirmYes},
        {"Yes To All", WM_COMMAND, 1011, kConfirmYesToAll},
        {"Esc", WM_KEYDOWN, VK_ESCAPE, kConfirmNo},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, kConfirmNo},
        {"Enter (Yes is the default)", WM_KEYDOWN, VK_RETURN, kConfirmYes},
    };
    for (const Case& c : cases) {
        Outcome outcome = ask(c.message, c.wParam);
        EXPECT_EQ(outcome.seen.size(), 1u) << c.how;
        EXPECT_EQ(outcome.answer, c.answer) << c.how;
    }
}

}  // namespace
