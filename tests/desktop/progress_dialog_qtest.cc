// The progress dialog built from the "PROGRESS" template: its fields, the
// bar the shell draws on, its place over the main window and its close box.
#include <gmock/gmock.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <map>

#include "desktop_test_support.h"

using namespace quorval;

namespace desktop_test {
namespace {

class DesktopProgressDialog : public DesktopTest {
 protected:
  // The dialog of a 1234567-byte log written to <folder>/day1-103+000, over
  // the main window at its default place or at the one given.
  QWidget* ShowDialog(const QRect& mainPlace = QRect()) {
    OpenMainWindow();
    if (mainPlace.isValid()) User::MainWindow()->setGeometry(mainPlace);
    std::snprintf(runState.outputBase, kPathSize, "%s", (folder / "day1-103+000").c_str());
    runState.inputSize = 1234567;
    ShowProgressDialog();
    ServicePendingMessages();  // the repaint the window system asks for on showing
    QApplication::processEvents();
    return backend.Widget(runState.progressDialog);
  }

  // The bar's middle row, in the bar's client coordinates (inside its border).
  std::vector<QColor> BarRow() {
    QWidget* bar = ProgressControl(kProgressBarId);
    const QImage image = bar->grab().toImage();
    std::vector<QColor> row;
    for (int x = 1; x < image.width() - 1; ++x) row.push_back(image.pixelColor(x, image.height() / 2));
    return row;
  }
};

const QColor kFill(150, 0, 150);

// The rows (vertical) or columns of a rectangle of the image that hold ink:
// dark text, not the lighter lines of frames; {-1, -1} when none do.
std::pair<int, int> InkSpan(const QImage& image, const QRect& area, Qt::Orientation across) {
  std::pair<int, int> span{-1, -1};
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y).lightness() >= 100) continue;
      const int at = across == Qt::Vertical ? y : x;
      if (span.first < 0 || at < span.first) span.first = at;
      span.second = std::max(span.second, at);
    }
  }
  return span;
}

// Inside a field's border.
QRect Interior(const QWidget* field) { return field->geometry().adjusted(2, 2, -2, -2); }

TEST_F(DesktopProgressDialog, HalfwayThroughTheLogTheFieldsShowTheNameFolderAndKilobytesAndTheBarIsFilledTo499) {
  QWidget* dialog = ShowDialog();
  ASSERT_NE(dialog, nullptr);
  SendMessage(runState.progressDialog, WM_PAINT, 0, 617283);
  QApplication::processEvents();

  EXPECT_EQ(Text(dialog->windowTitle()), "Post-Processing");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(FieldText(kFolderFieldId), folder.path().string() + "/");
  EXPECT_EQ(FieldText(kFileNameFieldId), "day1-103+000");
  EXPECT_EQ(FieldText(kKilobytesReadFieldId), "617");
  EXPECT_EQ(FieldText(kKilobytesTotalFieldId), "1234");
  for (int id : {kFolderFieldId, kFileNameFieldId, kKilobytesReadFieldId, kKilobytesTotalFieldId}) {
    auto* field = qobject_cast<QLineEdit*>(ProgressControl(id));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isReadOnly()) << id;
    EXPECT_TRUE(field->alignment() & Qt::AlignRight) << id;
  }
  EXPECT_EQ(Text(qobject_cast<QPushButton*>(ProgressControl(IDCANCEL))->text()), "Cancel");
  std::vector<std::string> labels;
  for (QLabel* label : dialog->findChildren<QLabel*>()) labels.push_back(Text(label->text()));
  EXPECT_THAT(labels, ::testing::UnorderedElementsAre("of", "kB"));
  EXPECT_EQ(Text(dialog->findChild<QGroupBox*>()->title()), "File");

  // 617283 of 1234567 bytes is 499 per mille: the filled part is
  // right * 499 / 1000 pixels wide, outlined in black.
  const std::vector<QColor> row = BarRow();
  const int right = static_cast<int>(row.size());
  const int filled = right * 499 / 1000;
  ASSERT_GT(filled, 10);
  EXPECT_EQ(row[0], QColor(Qt::black));
  EXPECT_EQ(row[filled - 1], QColor(Qt::black));
  for (int x = 1; x < filled - 1; ++x) ASSERT_EQ(row[x], kFill) << "x=" << x << " of " << right;
  for (int x = filled; x < right; ++x) ASSERT_NE(row[x], kFill) << "x=" << x << " of " << right;

  // The window system asks the dialog to repaint after it was hidden: 0 kB
  // read and an empty bar until the next notification.
  dialog->hide();
  dialog->show();
  ServicePendingMessages();
  QApplication::processEvents();
  EXPECT_EQ(FieldText(kKilobytesReadFieldId), "0");
  for (const QColor& pixel : BarRow()) ASSERT_NE(pixel, kFill);

  // At the end of the log the bar fills its width exactly.
  SendMessage(runState.progressDialog, WM_PAINT, 0, 1234567);
  QApplication::processEvents();
  const std::vector<QColor> full = BarRow();
  EXPECT_EQ(full.front(), QColor(Qt::black));
  EXPECT_EQ(full.back(), QColor(Qt::black));
  EXPECT_EQ(full[full.size() / 2], kFill);
}

TEST_F(DesktopProgressDialog, StandsOverTheMainWindowWithItsControlsAtTheirTemplatePlaces) {
  QWidget* dialog = ShowDialog();
  ASSERT_NE(dialog, nullptr);

  // Arial 10 pt, or the face with the same metrics where Arial is not installed.
  const bool arialInstalled = QFontDatabase::families().contains("Arial", Qt::CaseInsensitive);
  const QFontInfo font(dialog->font());
  EXPECT_EQ(Text(font.family()), arialInstalled ? "Arial" : "Liberation Sans");
  EXPECT_EQ(font.pointSize(), 10);

  // The template's controls, each at its place: the fields inside the
  // "File" frame, the bar and Cancel below it, all inside the dialog.
  const QRect client = dialog->rect();
  const QRect frame = dialog->findChild<QGroupBox*>()->geometry();
  for (int id : {kFolderFieldId, kFileNameFieldId, kKilobytesReadFieldId, kKilobytesTotalFieldId}) {
    EXPECT_TRUE(frame.contains(ProgressControl(id)->geometry())) << id;
  }
  const QRect bar = ProgressControl(kProgressBarId)->geometry();
  const QRect cancel = ProgressControl(IDCANCEL)->geometry();
  EXPECT_GT(bar.top(), frame.bottom());
  EXPECT_EQ(bar.top(), cancel.top());  // both at y 54
  EXPECT_LT(bar.right(), cancel.left());
  EXPECT_TRUE(client.contains(frame));
  EXPECT_TRUE(client.contains(cancel));
  // 349 x 75 dialog units: wider than high by about the ratio of the units.
  EXPECT_GT(client.width(), 3 * client.height());

  // Its centre on the main window's centre line, a quarter of the way down
  // (its top at least half its height below the top of the screen).
  QWidget* main = User::MainWindow()->centralWidget();
  const QPoint anchor = main->mapToGlobal(QPoint(main->width() / 2, main->height() / 4));
  const QRect placed = dialog->frameGeometry();
  EXPECT_EQ(placed.left(), anchor.x() - placed.width() / 2);
  EXPECT_EQ(placed.top(), std::max(anchor.y() - placed.height() / 2, placed.height() / 2))
      << "anchor " << anchor.y() << ", height " << placed.height();
}

TEST_F(DesktopProgressDialog, TheFrameTitleSitsOnItsLineAndTheNumbersShareTheLabelsBaselineClearOfTheirBorders) {
  QWidget* dialog = ShowDialog();
  ASSERT_NE(dialog, nullptr);
  // A log of over a gigabyte: seven digits of kilobytes read.
  SetDlgItemInt(runState.progressDialog, kKilobytesReadFieldId, 1234567, false);
  QApplication::processEvents();
  const QImage image = dialog->grab().toImage();

  // The frame's top line, right of the title, runs through the title's letters.
  const QRect frame = dialog->findChild<QGroupBox*>()->geometry();
  const QRect folderField = ProgressControl(kFolderFieldId)->geometry();
  int line = -1;
  const QColor face = image.pixelColor(frame.left() + 4, frame.bottom() - 4);
  for (int y = frame.top(); y < folderField.top() && line < 0; ++y) {
    if (image.pixelColor(frame.left() + frame.width() * 3 / 4, y).lightness() < face.lightness() - 40) line = y;
  }
  const auto title = InkSpan(image, QRect(frame.left(), frame.top(), frame.width() / 8, folderField.top() - frame.top()), Qt::Vertical);
  EXPECT_LT(title.first, line);
  EXPECT_GT(title.second, line);
  EXPECT_GT(folderField.top(), line + 2);  // the folder field clear of the line

  // "of" and "kB" end on the row where the numbers beside them end.
  QWidget* read = ProgressControl(kKilobytesReadFieldId);
  QWidget* total = ProgressControl(kKilobytesTotalFieldId);
  std::map<std::string, QRect> labels;
  for (QLabel* label : dialog->findChildren<QLabel*>()) labels[Text(label->text())] = label->geometry();
  EXPECT_EQ(InkSpan(image, labels["of"], Qt::Vertical).second, InkSpan(image, Interior(read), Qt::Vertical).second);
  EXPECT_EQ(InkSpan(image, labels["kB"], Qt::Vertical).second, InkSpan(image, Interior(total), Qt::Vertical).second);

  // All seven digits shown, two pixels or more inside the border on each side.
  const auto digits = InkSpan(image, Interior(read), Qt::Horizontal);
  EXPECT_GE(digits.first, read->geometry().left() + 3);
  EXPECT_LE(digits.second, read->geometry().right() - 3);
  EXPECT_GT(digits.second - digits.first, QFontMetrics(read->font()).horizontalAdvance("1234567") - 4);
}

TEST_F(DesktopProgressDialog, ABoxStandsBelowItOnTheMainWindowsCentreLineAndIsWideEnoughForItsCaption) {
  // Low and to the right, where the middle of the screen is above the dialog.
  QWidget* dialog = ShowDialog(QRect(350, 450, 400, 300));
  ASSERT_NE(dialog, nullptr);
  User user;
  QRect box;
  user.Then("the closing prompt", [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (shown == nullptr || !shown->isVisible()) return false;
    box = shown->frameGeometry();
    shown->done(QMessageBox::No);
    return true;
  });
  MessageBox(kNoWindow, "Do another file?", "Processing Complete", MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO);

  EXPECT_GT(box.top(), dialog->frameGeometry().bottom());
  QWidget* main = User::MainWindow()->centralWidget();
  EXPECT_NEAR(box.center().x(), main->mapToGlobal(main->rect().center()).x(), 1);
  // The caption in the title font, and three title-bar buttons as wide as
  // the caption's line is high.
  QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  titleFont.setBold(true);
  const QFontMetrics caption(titleFont);
  EXPECT_GE(box.width(), caption.horizontalAdvance("Processing Complete") + 3 * caption.height());
}

TEST_F(DesktopProgressDialog, TheCloseBoxActsAsCancelAndTheDialogStays) {
  QWidget* dialog = ShowDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->close();
  ServicePendingMessages();
  EXPECT_EQ(runState.cancelRequested, 1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(backend.Widget(runState.progressDialog), dialog);
}

}  // namespace
}  // namespace desktop_test
