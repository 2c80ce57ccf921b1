#include <QFontDatabase>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "backends/qt/qt_windows.h"

namespace quorval {

namespace {

struct BoxButton {
  QMessageBox::StandardButton button;
  int answer;
};

struct BoxButtons {
  BoxButton buttons[3];
  int count;
};

// The buttons of a box type in the platform's order.
BoxButtons ButtonsOf(unsigned style) {
  switch (style & MB_TYPEMASK) {
    case MB_YESNOCANCEL:
      return {{{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}, 3};
    case MB_YESNO:
      return {{{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}, 2};
    case MB_RETRYCANCEL:
      return {{{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}, 2};
    default:
      return {{{QMessageBox::Ok, IDOK}}, 1};
  }
}

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    case 0x0010: return QMessageBox::Critical;  // MB_ICONERROR
    default: return QMessageBox::NoIcon;
  }
}

// How wide the title bar must be for the caption: the window system draws
// it in its title font (bold where the font does not say) between the
// window's icon and up to three buttons, each about as wide as the bar is
// high.
int CaptionWidth(const QString& caption) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const QFontMetrics metrics(font);
  const int barHeight = metrics.height() * 3 / 2;
  return metrics.horizontalAdvance(caption) + 4 * barHeight + 2 * metrics.averageCharWidth();
}

// A box that stands where it leaves the window of place.below readable.
class PlacedMessageBox final : public QMessageBox {
 public:
  PlacedMessageBox(Icon icon, const QString& title, const QString& text, QWidget* owner,
                   BoxPlace place)
      : QMessageBox(icon, title, text, NoButton, owner), place_(place) {}

  // The box sizes itself to its layout whenever that changes: a row of the
  // caption's width keeps it wide enough for the title bar. Called once
  // its buttons are in.
  void MakeRoomForCaption() {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (grid == nullptr) return;
    grid->addItem(new QSpacerItem(CaptionWidth(windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // sizes and centres the box
    if (place_.below != nullptr) StandBelow(*place_.below);
  }

 private:
  // Below the window, centred on the line the place gives; above it when
  // the screen has no room below, and on the screen in any case.
  void StandBelow(const QWidget& window) {
    const QRect other = window.frameGeometry();
    const QScreen* screen = window.screen();
    const QRect free = screen != nullptr ? screen->availableGeometry() : other;
    const QSize size = frameGeometry().size();
    const int gap = fontMetrics().height() / 2;
    QPoint at(place_.centreX - size.width() / 2, other.bottom() + 1 + gap);
    if (at.y() + size.height() > free.bottom() + 1) at.setY(other.top() - gap - size.height());
    at.setX(std::clamp(at.x(), free.left(), std::max(free.left(), free.right() + 1 - size.width())));
    at.setY(std::clamp(at.y(), free.top(), std::max(free.top(), free.bottom() + 1 - size.height())));
    move(at);
  }

  BoxPlace place_;
};

}  // namespace

int ShowMessageBox(QWidget* owner, const char* text, const char* caption, unsigned style,
                   BoxPlace place) {
  // A box without a caption gets the one the platform gives it.
  const QString title = caption != nullptr && caption[0] != '\0' ? QString::fromLocal8Bit(caption)
                                                                  : QStringLiteral("Error");
  PlacedMessageBox box(IconOf(style), title, QString::fromLocal8Bit(text != nullptr ? text : ""),
                       owner, place);
  // Paths and texts show as they stand, never as markup.
  box.setTextFormat(Qt::PlainText);
  // Task-modal and application-modal alike: the user answers before the
  // program's windows take input again.
  box.setWindowModality(Qt::ApplicationModal);
  const BoxButtons buttons = ButtonsOf(style);
  for (int i = 0; i < buttons.count; ++i) box.addButton(buttons.buttons[i].button);
  // The first button is the default unless the style names another.
  const int defaultButton = static_cast<int>((style & MB_DEFMASK) >> 8);
  box.setDefaultButton(buttons.buttons[defaultButton < buttons.count ? defaultButton : 0].button);
  // The close box and Escape give the way out the box has: its Cancel (or
  // its only button); a Yes/No question must be answered.
  for (int i = 0; i < buttons.count; ++i) {
    if (buttons.buttons[i].button == QMessageBox::Cancel || buttons.count == 1) {
      box.setEscapeButton(buttons.buttons[i].button);
    }
  }
  box.MakeRoomForCaption();
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (int i = 0; i < buttons.count; ++i) {
    if (buttons.buttons[i].button == clicked) return buttons.buttons[i].answer;
  }
  // Closed without a button (the program is being torn down).
  return buttons.count == 1 ? IDOK : IDCANCEL;
}

}  // namespace quorval
