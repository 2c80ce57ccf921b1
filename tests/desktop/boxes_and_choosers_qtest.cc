// Message boxes and the file dialog: what the style bits and the request ask
// for, what the user sees, and what the program gets back.
#include <gmock/gmock.h>

#include <QFileSystemModel>
#include <QAbstractProxyModel>

#include <cstring>
#include <filesystem>

#include "desktop_test_support.h"
#include "backends/qt/qt_windows.h"

using namespace quorval;

namespace desktop_test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class DesktopBoxes : public DesktopTest {};
class DesktopChoosers : public DesktopTest {};

TEST_F(DesktopBoxes, EachStyleShowsItsIconAndButtonsAndThePressedButtonGivesItsAnswer) {
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

TEST_F(DesktopBoxes, ABoxWithoutACaptionIsCalledErrorAndShowsMarkupAsPlainText) {
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

TEST_F(DesktopChoosers, FilterListsBecomeQtFiltersWithDescriptionsKeptAndPatternsTranslated) {
  const struct {
    std::string filter;
    std::vector<std::string> expected;
  } cases[] = {
      {"Input Files, (*.txt)|*.txt|All Files (*.*)|*.*|",
       {"Input Files, (*.txt) (*.txt)", "All Files (*.*) (*)"}},
      // The batch's list filter has a description and no pattern: all files.
      {".ini", {".ini (*)"}},
      {"Logs|*.txt;*.log|", {"Logs (*.txt *.log)"}},
      // After a log without an extension: every name, narrowed to those
      // without a dot while the filter is selected.
      {"Input Files, (*.)|*.|All Files (*.*)|*.*|",
       {"Input Files, (*.) (*)", "All Files (*.*) (*)"}},
  };
  for (const auto& c : cases) {
    const std::string filter = DialogFilter(c.filter) + std::string(2, '\0');
    std::vector<std::string> got;
    for (const QString& one : NameFilters(filter.c_str())) got.push_back(Text(one));
    EXPECT_EQ(got, c.expected) << c.filter;
  }
}

// The request ChooseFile makes, with its path buffer.
struct Request {
  Request(const char* title, uint32_t flags, const std::string& proposed, const std::string& filterText)
      : filter(DialogFilter(filterText)) {
    std::snprintf(path, sizeof path, "%s", proposed.c_str());
    request.lStructSize = OPENFILENAME_SIZE_VERSION_400;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = path;
    request.nMaxFile = sizeof path;
    request.lpstrTitle = title;
    request.Flags = flags;
  }
  std::string filter;
  char path[1000];
  OpenFileNameRequest request{};
};

constexpr uint32_t kInputFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
constexpr uint32_t kOutputFlags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;

TEST_F(DesktopChoosers, TheDialogProposesTheNameInItsFolderAndWritesTheChosenPathBack) {
  const std::string log = folder.Write("day1.txt", "$GPGGA\r\n");
  Request input("Open Input File Name", kInputFlags, folder / "proposed.txt",
                "Input Files, (*.txt)|*.txt|All Files (*.*)|*.*|");

  User user;
  FileDialogSeen seen;
  user.ChooseFile("day1.txt", &seen);  // typed in the proposed folder
  ASSERT_TRUE(GetOpenFileName(input.request));

  EXPECT_EQ(std::string(input.path), log);
  EXPECT_EQ(seen.title, "Open Input File Name");
  EXPECT_EQ(seen.folder, folder.path().string());
  EXPECT_EQ(seen.proposedName, "proposed.txt");
  EXPECT_THAT(seen.filters, ElementsAre("Input Files, (*.txt)", "All Files (*.*)"));
  EXPECT_EQ(seen.mode, QFileDialog::ExistingFile);
  EXPECT_FALSE(seen.native);
}

TEST_F(DesktopChoosers, AfterALogWithoutExtensionTheFirstFilterListsTheFilesWithoutOne) {
  folder.Write("gps", "$GPGGA\r\n");
  folder.Write("gps.txt", "$GPGGA\r\n");
  folder.Write("day1.log", "$GPGGA\r\n");
  Request input("Open Input File Name", kInputFlags, folder / "gps.",
                "Input Files, (*.)|*.|All Files (*.*)|*.*|");

  std::vector<std::string> listed;
  User user;
  user.Then("the files the dialog lists", [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || dialog->proxyModel() == nullptr) return false;
    QAbstractProxyModel* shown = dialog->proxyModel();
    const auto* files = qobject_cast<QFileSystemModel*>(shown->sourceModel());
    const QModelIndex place =
        shown->mapFromSource(files->index(QString::fromStdString(folder.path().string())));
    if (shown->rowCount(place) == 0) return false;  // still reading the folder
    for (int row = 0; row < shown->rowCount(place); ++row) {
      listed.push_back(shown->index(row, 0, place).data().toString().toStdString());
    }
    dialog->reject();
    return true;
  });
  EXPECT_FALSE(GetOpenFileName(input.request));
  EXPECT_THAT(listed, ElementsAre("gps"));
}

TEST_F(DesktopChoosers, AnOutputInAMissingFolderOrAPathLongerThanTheBufferIsRefusedAndTheBufferKept) {
  // A real folder deep enough that a file's full path passes 999 characters.
  std::filesystem::path deep = folder.path();
  while (deep.string().size() < 1000) deep /= std::string(200, 'd');
  std::filesystem::create_directories(deep);
  const std::string deepLog = (deep / "day1.txt").string();
  std::fclose(std::fopen(deepLog.c_str(), "wb"));

  const struct {
    const char* title;
    uint32_t flags;
    std::string typed;
    QFileDialog::FileMode mode;
    std::string reason;
  } cases[] = {
      // The output may be a new file, but in a folder that exists.
      {"Open Output File Name", kOutputFlags, folder / "missing/day1.csv", QFileDialog::AnyFile, "does not exist"},
      {"Open Input File Name", kInputFlags, deepLog, QFileDialog::ExistingFile, "too long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    Request chooser(c.title, c.flags, folder / "day1-103+000.csv", "Files|*.*|");
    User user;
    FileDialogSeen seen;
    BoxSeen refusal;
    user.ChooseFile(c.typed, &seen)
        .Answer(QMessageBox::Ok, &refusal)
        .Then("the dialog still open, cancelled", [] {
          auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
          if (dialog == nullptr) return false;
          dialog->reject();
          return true;
        });
    EXPECT_FALSE(GetOpenFileName(chooser.request));

    EXPECT_EQ(seen.mode, c.mode);
    EXPECT_EQ(refusal.icon, QMessageBox::Warning);
    EXPECT_NE(refusal.text.find(c.reason), std::string::npos) << refusal.text;
    EXPECT_EQ(std::string(chooser.path), folder / "day1-103+000.csv");
  }
}

}  // namespace
}  // namespace desktop_test
