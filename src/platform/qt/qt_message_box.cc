#include <QMessageBox>
#include <QPushButton>

#include "platform/qt/qt_windows.h"

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

}  // namespace

int ShowMessageBox(QWidget* owner, const char* text, const char* caption, unsigned style) {
  // A box without a caption gets the one the platform gives it.
  const QString title = caption != nullptr && caption[0] != '\0' ? QString::fromLocal8Bit(caption)
                                                                  : QStringLiteral("Error");
  QMessageBox box(IconOf(style), title, QString::fromLocal8Bit(text != nullptr ? text : ""),
                  QMessageBox::NoButton, owner);
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
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  for (int i = 0; i < buttons.count; ++i) {
    if (buttons.buttons[i].button == clicked) return buttons.buttons[i].answer;
  }
  // Closed without a button (the program is being torn down).
  return buttons.count == 1 ? IDOK : IDCANCEL;
}

}  // namespace quorval
