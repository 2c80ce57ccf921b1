#include "resources/resources.h"

namespace quorval {

namespace {

constexpr unsigned kReadOnlyField =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | ES_RIGHT;

// In creation order, which is also the tab order. The frame "File" holds the
// output folder on its first line and the file name with the kilobytes read
// "of" the total on its second; the bar and Cancel stand below it.
constexpr DialogControl kControls[] = {
    {IDCANCEL, "button", "Cancel", 290, 54, 45, 13, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {kProgressBarId, "msctls_progress32", "Progress2", 5, 54, 211, 13, WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH},
    {-1, "static", "of", 261, 34, 9, 8, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER},
    {-1, "static", "kB", 317, 34, 12, 9, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
    {kFolderFieldId, "edit", "", 15, 15, 316, 12, kReadOnlyField},
    {-1, "button", "File", 7, 4, 329, 46, WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
    {kFileNameFieldId, "edit", "", 16, 33, 209, 12, kReadOnlyField},
    {kKilobytesReadFieldId, "edit", "", 232, 33, 29, 12, kReadOnlyField},
    {kKilobytesTotalFieldId, "edit", "", 275, 33, 33, 12, kReadOnlyField},
};

}  // namespace

const DialogTemplate kProgressTemplate = {
    kProgressTemplateName,
    "Post-Processing",
    "Arial",
    10,
    5,
    5,
    349,
    75,
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_CENTER | DS_SETFONT |
        DS_3DLOOK,
    kControls,
    sizeof kControls / sizeof kControls[0],
};

}  // namespace quorval
