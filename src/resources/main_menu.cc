#include "resources/resources.h"

namespace quorval {

namespace {

// The blanks around the popup titles are part of the texts: they space the
// menus apart on the menu bar.
constexpr MenuItem kFileItems[] = {
    {"Exit", kExitCommand},
    {"", kBlankCommand},  // a blank divider; choosing it does nothing
    {"Single PostProc", kSingleCommand},
    {"Batch PostProc", kBatchCommand},
};

// The pictures of a table: the one written last this session, or one chosen.
constexpr MenuItem kViewItems[] = {
    {"Show Last Table", kShowLastTableCommand},
};

// Checked, the runs started from then on read every satellite system, and
// write the fixes and the satellites table beside each table they write.
constexpr MenuItem kOptionsItems[] = {
    {"All satellite systems", kAllSystemsCommand, true},
    {"Also write the fixes table (-fixes.csv)", kFixesTableCommand, true},
    {"Also write the satellites table (-satellites.csv)", kSatellitesTableCommand, true},
};

constexpr MenuItem kHelpItems[] = {
    {"&About . . .", kAboutCommand},
};

constexpr MenuPopup kPopups[] = {
    {"       File     ", kFileItems, sizeof kFileItems / sizeof kFileItems[0]},
    {"View", kViewItems, sizeof kViewItems / sizeof kViewItems[0]},
    {"Options", kOptionsItems, sizeof kOptionsItems / sizeof kOptionsItems[0]},
    {"      &Help      ", kHelpItems, sizeof kHelpItems / sizeof kHelpItems[0]},
};

}  // namespace

const MenuResource kMainMenu = {kMainMenuName, kPopups, sizeof kPopups / sizeof kPopups[0]};

}  // namespace quorval
