// Message boxes and the file dialog: what the style bits and the request ask
// for, what the user sees, and what the program gets back.
#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>

#include "desktop_test_support.h"
#include "platform/qt/qt_windows.h"

namespace desktop_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class Boxes : public DesktopTest {};
class Choosers : public DesktopTest {};

TEST_F(Boxes, EachStyleShowsItsIconAndButtonsAndThePressedButtonGivesItsAnswer) {
  using B = QMessageBox;
  struct Case {
    unsigned style;
    QMessageBox::Icon icon;
    std::vector<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton pressed;
    int answer;
  };
  const Case cases[] = {
      {MB_TASKMODAL | MB_ICONWARNING, B::Warning, {B::Ok}, B::Ok, IDOK},
      {MB_TASKMODAL | MB_ICONINFORMATION, B::Information, {B::Ok}, B::Ok, IDOK},
      {MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO, B::Question, {B::Yes, B::No}, B::Yes, IDYES},
      {MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO, B::Question, {B::Yes, B::No}, B::No, IDNO},
      {MB_TASKMODAL | MB_ICONQUESTION | MB_YESNOCANCEL, B::Question, {B::Yes, B::No, B::Cancel}, B::Cancel, IDCANCEL},
      {MB_TASKMODAL | MB_ICONWARNING | MB_RETRYCANCEL, B::Warning, {B::Retry, B::Cancel}, B::Retry, IDRETRY},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    User user;
    BoxSeen seen;
    user.Answer(c.pressed, &seen);
    EXPECT_EQ(MessageBox(kNoWindow, "File already exists.  Overwrite?", "Open Output File", c.style), c.answer);
    EXPECT_EQ(seen.text, "File already exists.  Overwrite?");  // both blanks kept
    EXPECT_EQ(seen.caption, "Open Output File");
    EXPECT_EQ(seen.icon, c.icon);
    std::vector<QMessageBox::StandardButton> expected = c.buttons;
    std::sort(expected.begin(), expected.end());
    EXPECT_THAT(seen.buttons, ElementsAreArray(expected));
    EXPECT_TRUE(seen.modal);
  }
}

TEST_F(Boxes, ABoxWithoutACaptionIsCalledErrorAndShowsMarkupAsPlainText) {
  User user;
  BoxSeen seen;
  user.Answer(QMessageBox::Ok, &seen);
  EXPECT_EQ(MessageBox(kNoWindow, "<b>D:\\logs\\day1.txt</b>", nullptr, MB_ICONWARNING), IDOK);
  EXPECT_EQ(seen.caption, "Error");
  EXPECT_EQ(seen.text, "<b>D:\\logs\\day1.txt</b>");
}

// The filter text as ChooseFile hands it over: '|' already made zero bytes.
std::string DialogFilter(std::string filter) {
  std::replace(filter.begin(), filter.end(), '|', '\0');
  return filter;
}

TEST_F(Choosers, FilterListsBecomeQtFiltersWithDescriptionsKeptAndPatternsTranslated) {
  const struct {
    std::string filter;
    std::vector<std::string> expected;
  } cases[] = {
      {"Input Files, (*.txt)|*.txt|All Files (*.*)|*.*|",
       {"Input Files, (*.txt) (*.txt)", "All Files (*.*) (*)"}},
      // The batch's list filter has a description and no pattern: all files.
      {".ini", {".ini (*)"}},
      {"Logs|*.txt;*.log|", {"Logs (*.txt *.log)"}},
  };
  for (const auto& c : cases) {
    const std::string filter = DialogFilter(c.filter) + std::string(2, '\0');
    std::vector<std::string> got;
    for (const QString& one : NameFilters(filter.c_str())) got.push_back(Text(one));
    EXPECT_EQ(got, c.expected) << c.filter;
  }
}

TEST_F(Choosers, TheDialogProposesTheNameInItsFolderAndWritesTheChosenPathBack) {
  const std::string log = folder.Write("day1.txt", "$GPGGA\r\n");
  folder.Write("notes", "no extension");
  const std::string filter = DialogFilter("Input Files, (*.txt)|*.txt|All Files (*.*)|*.*|");
  char path[1000];
  std::snprintf(path, sizeof path, "%s", (folder / "proposed.txt").c_str());
  OpenFileNameRequest request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = path;
  request.nMaxFile = sizeof path;
  request.lpstrTitle = "Open Input File Name";
  request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;

  User user;
  FileDialogSeen seen;
  user.ChooseFile("day1.txt", &seen);  // typed in the proposed folder
  ASSERT_TRUE(GetOpenFileName(request));

  EXPECT_EQ(std::string(path), log);
  EXPECT_EQ(seen.title, "Open Input File Name");
  EXPECT_EQ(seen.folder, folder.path().string());
  EXPECT_EQ(seen.proposedName, "proposed.txt");
  EXPECT_THAT(seen.filters, ElementsAre("Input Files, (*.txt)", "All Files (*.*)"));
  EXPECT_EQ(seen.mode, QFileDialog::ExistingFile);
  EXPECT_FALSE(seen.native);
}

TEST_F(Choosers, AnOutputInAMissingFolderIsRefusedAndCancelLeavesTheBufferAlone) {
  const std::string filter = DialogFilter("Output Files, (*.csv)|*.csv|All Files (*.*)|*.*|");
  char path[1000];
  std::snprintf(path, sizeof path, "%s", (folder / "day1-103+000.csv").c_str());
  OpenFileNameRequest request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = path;
  request.nMaxFile = sizeof path;
  request.lpstrTitle = "Open Output File Name";
  request.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

  User user;
  FileDialogSeen seen;
  BoxSeen refusal;
  user.ChooseFile(folder / "missing/day1.csv", &seen)
      .Answer(QMessageBox::Ok, &refusal)
      .Then("the dialog still open, cancelled", [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return false;
        dialog->reject();
        return true;
      });
  EXPECT_FALSE(GetOpenFileName(request));

  EXPECT_EQ(seen.mode, QFileDialog::AnyFile);  // a new name may be typed
  EXPECT_EQ(seen.proposedName, "day1-103+000.csv");
  EXPECT_EQ(refusal.icon, QMessageBox::Warning);
  EXPECT_NE(refusal.text.find("does not exist"), std::string::npos) << refusal.text;
  EXPECT_EQ(std::string(path), folder / "day1-103+000.csv");
}

TEST_F(Choosers, APathLongerThanTheBufferIsRefused) {
  // A real folder deep enough that the full path passes 999 characters.
  std::filesystem::path deep = folder.path();
  while (deep.string().size() < 1000) deep /= std::string(200, 'd');
  std::filesystem::create_directories(deep);
  const std::string log = (deep / "day1.txt").string();
  FILE* file = std::fopen(log.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fclose(file);

  const std::string filter = DialogFilter("Input Files, (*.txt)|*.txt|");
  char path[1000] = "DEFAULT.TXT";
  OpenFileNameRequest request{};
  request.lpstrFilter = filter.c_str();
  request.lpstrFile = path;
  request.nMaxFile = sizeof path;
  request.lpstrTitle = "Open Input File Name";
  request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;

  User user;
  BoxSeen refusal;
  user.ChooseFile(log)
      .Answer(QMessageBox::Ok, &refusal)
      .Then("the dialog still open, cancelled", [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return false;
        dialog->reject();
        return true;
      });
  EXPECT_FALSE(GetOpenFileName(request));

  EXPECT_NE(refusal.text.find("too long"), std::string::npos) << refusal.text;
  EXPECT_STREQ(path, "DEFAULT.TXT");
}

}  // namespace
}  // namespace desktop_test
