// The main window as a person meets it: the title, the menu as the
// resources hold it, About, the blank entry, and the ways to end the program.
#include <gmock/gmock.h>

#include <QPainter>

#include "desktop_test_support.h"
#include "view_qt/plot_window.h"

using namespace quorval;

namespace desktop_test {
namespace {

using ::testing::ElementsAre;

class DesktopMainWindow : public DesktopTest {};

struct Entry {
  std::string text;
  unsigned id;
  bool separator;
  bool checkable;
  bool checked;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(QMenu* menu) {
  std::vector<Entry> entries;
  for (QAction* action : menu->actions()) {
    entries.push_back(Entry{Text(action->text()), action->data().toUInt(), action->isSeparator(),
                            action->isCheckable(), action->isChecked()});
  }
  return entries;
}

TEST_F(DesktopMainWindow, ShowsItsTitleTheMenusAsTheResourcesHoldThemAndAWhiteClientArea) {
  User user;
  std::vector<std::string> titles;
  std::vector<std::vector<Entry>> menus;
  std::string windowTitle;
  QImage client;
  user.Then("the main window", [&] {
        QMainWindow* main = User::MainWindow();
        if (main == nullptr) return false;
        windowTitle = Text(main->windowTitle());
        for (QAction* title : main->menuBar()->actions()) {
          titles.push_back(Text(title->text()));
          menus.push_back(EntriesOf(title->menu()));
        }
        client = main->centralWidget()->grab().toImage();
        return true;
      })
      .CloseMainWindow();

  EXPECT_EQ(RunProgram(), 0);  // the close box ends the program normally

  EXPECT_EQ(windowTitle, "Quorval-103");
  // Entry for entry the menu of the resources (whose texts and ids the
  // resources' own test holds), the blank entry as an entry, not a line;
  // All satellite systems with its check mark, off at the start.
  std::vector<std::string> resourceTitles;
  std::vector<std::vector<Entry>> resourceEntries;
  for (int p = 0; p < kMainMenu.popupCount; ++p) {
    resourceTitles.push_back(kMainMenu.popups[p].text);
    resourceEntries.emplace_back();
    for (int i = 0; i < kMainMenu.popups[p].itemCount; ++i) {
      const MenuItem& item = kMainMenu.popups[p].items[i];
      resourceEntries.back().push_back(Entry{item.text, item.id, false, item.checkMark, false});
    }
  }
  EXPECT_EQ(titles, resourceTitles);
  EXPECT_EQ(menus, resourceEntries);
  ASSERT_FALSE(client.isNull());
  EXPECT_GT(client.width(), 100);
  // Blank and white: the status text is empty.
  for (const QPoint at : {QPoint(1, 1), QPoint(client.width() / 2, client.height() / 2),
                          QPoint(client.width() - 2, client.height() - 2)}) {
    EXPECT_EQ(client.pixelColor(at), QColor(Qt::white)) << at.x() << "," << at.y();
  }
}

TEST_F(DesktopMainWindow, AboutShowsTheVersionUnderBramletWithTheInformationIconAndOneOkButton) {
  User user;
  BoxSeen about;
  user.ChooseMenu(kAboutCommand).Answer(QMessageBox::Ok, &about).ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);

  EXPECT_EQ(about.text, "ZARN-103");
  EXPECT_EQ(about.caption, "Bramlet");
  EXPECT_EQ(about.icon, QMessageBox::Information);
  EXPECT_THAT(about.buttons, ElementsAre(QMessageBox::Ok));
  EXPECT_TRUE(about.modal);
  EXPECT_TRUE(user.Done());
}

TEST_F(DesktopMainWindow, TheBlankEntryDoesNothingAndExitEndsTheProgram) {
  User user;
  bool stillThere = false;
  user.ChooseMenu(kBlankCommand)
      .Then("a moment later, the window unchanged", [&] {
        stillThere = User::MainWindow() != nullptr && QApplication::activeModalWidget() == nullptr;
        return true;
      })
      .ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);

  EXPECT_TRUE(stillThere);
  EXPECT_EQ(User::MainWindow(), nullptr);  // Exit destroys the window
}

// The table window on screen, showing the table of that name.
view::PlotWindow* TableWindow(const std::string& tableName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* window = dynamic_cast<view::PlotWindow*>(widget);
    if (window != nullptr && window->isVisible() && window->Table().name == tableName) return window;
  }
  return nullptr;
}

TEST_F(DesktopMainWindow, ShowLastTableOpensTheWindowOnATableChosenThenOnTheTableWrittenLast) {
  const std::string sample = std::string(QUORVAL_SAMPLES_DIR) + "/day1-103+000.csv";
  const std::string log = folder.Write("day2.txt", ReadBytes(std::string(QUORVAL_SAMPLES_DIR) + "/day2.txt"));
  User user;
  FileDialogSeen chooser;
  size_t chosenRows = 0, writtenRows = 0;
  const auto rowsShown = [](const char* table, size_t& rows) {
    return [table, &rows] {
      view::PlotWindow* window = TableWindow(table);
      rows = window != nullptr ? window->Table().Rows() : 0;
      return window != nullptr;
    };
  };
  user.ChooseMenu(kShowLastTableCommand)
      .ChooseFile(sample, &chooser)
      .Then("the window on the chosen table", rowsShown("day1-103+000.csv", chosenRows))
      .ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(folder / "day2-103+000.csv")
      .Answer(QMessageBox::No)
      .ChooseMenu(kShowLastTableCommand)
      .Then("the window on the table just written", rowsShown("day2-103+000.csv", writtenRows))
      .ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);
  ASSERT_TRUE(user.Done());
  EXPECT_THAT(chooser.filters, ElementsAre("Quorval Tables (*.csv;*.xlx)", "All Files (*.*)"));
  EXPECT_GT(chosenRows, 0u);
  EXPECT_GT(writtenRows, 0u);
}

}  // namespace
}  // namespace desktop_test
