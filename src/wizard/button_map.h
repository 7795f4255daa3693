// The button map: per page index (0 to 11, 12 for the removal dialog, 13 for the programs in use)
// the buttonLabels number that labels each of the controls 1010 (Back), 1011 (Next), 1012 (Cancel)
// and 1013 (Browse).
#pragma once
#include "resources/resource_ids.h"

namespace kelvara {

constexpr int kFirstMappedButton = IDC_BACK;
constexpr int kMappedButtonCount = 4;  // 1010 to 1013
constexpr int kKeepTemplateLabel = -1;

// Labels of the button-label table: 0 Back, 1 Next, 2 Cancel, 3 Install, 5 Yes (accepting the
// licence), 6 No (declining it), 7 Browse, 8 Finish.
constexpr int kButtonMap[14][kMappedButtonCount] = {
    {0, 1, 2, -1},    // 0 language
    {0, 1, 2, -1},    // 1 welcome
    {0, 5, 6, -1},    // 2 licence
    {0, 1, 2, -1},    // 3 readme
    {0, 1, 2, -1},    // 4 components
    {0, 1, 2, -1},    // 5 install scope
    {0, 1, 2, 7},     // 6 destination
    {0, 1, 2, -1},    // 7 tasks
    {0, 1, 2, -1},    // 8 start menu
    {0, 3, 2, -1},    // 9 ready
    {-1, -1, 2, -1},  // 10 installing
    {-1, -1, 8, -1},  // 11 finish
    {-1, -1, 8, -1},  // 12 removal dialog
    {0, 3, 2, -1},    // 13 programs in use (before the Installing page)
};

}  // namespace kelvara
