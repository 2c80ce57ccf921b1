// The resources the backends build the menu and the progress dialog from,
// as the layer finds them in the program's module.
#include "resources/resources.h"

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "layer/window_table.h"
#include "layer/windowing.h"

using namespace quorval;

namespace {

using ::testing::ElementsAre;

class Resources : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowing();
    RegisterResourceModule(kProgramInstance, &kProgramResources);
  }
  void TearDown() override { ResetWindowing(); }

  static std::string String(InstanceHandle instance, unsigned id) {
    char text[128];
    LoadString(instance, id, text, sizeof text);
    return text;
  }
};

TEST_F(Resources, MenuListsExitTheBlankDividerAndBothRunsThenShowLastTableThenTheThreeOptionsThenAbout) {
  const MenuResource* menu = LoadMenu(kProgramInstance, "bramlet_menu");  // names match in any case
  ASSERT_EQ(menu, &kMainMenu);
  EXPECT_STREQ(menu->name, "Bramlet_MENU");
  std::vector<std::string> entries;
  for (int p = 0; p < menu->popupCount; ++p) {
    entries.push_back(std::string("[") + menu->popups[p].text + "]");
    for (int i = 0; i < menu->popups[p].itemCount; ++i) {
      const MenuItem& item = menu->popups[p].items[i];
      entries.push_back(std::string(item.text) + " " + std::to_string(item.id) +
                        (item.checkMark ? " with its check mark" : ""));
    }
  }
  EXPECT_THAT(entries, ElementsAre("[       File     ]", "Exit 1250", " 40007", "Single PostProc 40006",
                                   "Batch PostProc 40005", "[View]", "Show Last Table 40008",
                                   "[Options]",
                                   "All satellite systems 40010 with its check mark",
                                   "Also write the fixes table (-fixes.csv) 40011 with its check mark",
                                   "Also write the satellites table (-satellites.csv) 40012 with its check mark",
                                   "[      &Help      ]", "&About . . . 3050"));
  EXPECT_EQ(LoadMenu(kProgramInstance, "OTHER"), nullptr);
  EXPECT_EQ(LoadMenu(kProgramInstance + 1, "Bramlet_MENU"), nullptr) << "another module holds none";
}

TEST_F(Resources, StringTableAndVersionBlock) {
  EXPECT_EQ(String(kProgramInstance, 1), "Error registering window class");
  EXPECT_EQ(String(kProgramInstance, 2), "Window creation failed!");
  EXPECT_EQ(String(kProgramInstance, 3), "");
  EXPECT_EQ(String(kProgramInstance + 1, 2), "");
  EXPECT_THAT(kVersionBlock.fileVersion, ElementsAre(1, 0, 0, 0));
  EXPECT_THAT(kVersionBlock.productVersion, ElementsAre(1, 0, 0, 0));
  EXPECT_EQ(kVersionBlock.fileOs, VOS_NT_WINDOWS32);
  EXPECT_EQ(kVersionBlock.fileType, VFT_APP);
  EXPECT_STREQ(kVersionBlock.stringBlock, "040904e4");
  EXPECT_STREQ(FindVersionString("FileVersion"), "43.01");
  EXPECT_STREQ(FindVersionString("InternalName"), "Bramlet");
}

TEST_F(Resources, ProgressTemplateHoldsItsNineControlsInCreationOrder) {
  const DialogTemplate* dialog = FindDialogTemplate(kProgramInstance, "progress");
  ASSERT_EQ(dialog, &kProgressTemplate);
  EXPECT_STREQ(dialog->caption, "Post-Processing");
  EXPECT_STREQ(dialog->fontName, "Arial");
  EXPECT_EQ(dialog->fontPointSize, 10);
  EXPECT_THAT((std::vector<int>{dialog->x, dialog->y, dialog->width, dialog->height}), ElementsAre(5, 5, 349, 75));
  EXPECT_EQ(dialog->style, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_CENTER |
                               DS_SETFONT | DS_3DLOOK);
  const unsigned field = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | ES_RIGHT;
  const struct {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;
    unsigned style;
  } expected[] = {
      {2, "button", "Cancel", 290, 54, 45, 13, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
      {30, "msctls_progress32", "Progress2", 5, 54, 211, 13, WS_CHILD | WS_VISIBLE | WS_BORDER | PBS_SMOOTH},
      {-1, "static", "of", 261, 34, 9, 8, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER},
      {-1, "static", "kB", 317, 34, 12, 9, WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT},
      {1047, "edit", "", 15, 15, 316, 12, field},
      {-1, "button", "File", 7, 4, 329, 46, WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
      {1044, "edit", "", 16, 33, 209, 12, field},
      {1045, "edit", "", 232, 33, 29, 12, field},
      {1046, "edit", "", 275, 33, 33, 12, field},
  };
  ASSERT_EQ(dialog->controlCount, 9);
  for (int i = 0; i < 9; ++i) {
    const DialogControl& control = dialog->controls[i];
    const auto& want = expected[i];
    EXPECT_EQ(control.id, want.id) << i;
    EXPECT_STREQ(control.className, want.className) << i;
    EXPECT_STREQ(control.text, want.text) << i;
    EXPECT_THAT((std::vector<int>{control.x, control.y, control.width, control.height}),
                ElementsAre(want.x, want.y, want.width, want.height))
        << i;
    EXPECT_EQ(control.style, want.style) << i;
  }
}

}  // namespace
