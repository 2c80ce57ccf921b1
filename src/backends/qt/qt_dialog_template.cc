#include <strings.h>

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionFrame>

#include "backends/qt/qt_windows.h"

namespace quorval {

namespace {

// Faces a template may name, and the installed faces with the same metrics
// that stand in for them.
struct FontSubstitute {
  const char* face;
  const char* substitute;
};
constexpr FontSubstitute kSubstitutes[] = {
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
};

constexpr unsigned BS_TYPEMASK = 0x000F;
constexpr unsigned SS_TYPEMASK = 0x001F;

// The modeless dialog's frame: its close box stands for Cancel through the
// default dialog handling, and the window system asks it to repaint when it
// appears.
class TemplateDialog final : public QWidget {
 public:
  TemplateDialog(WindowHandle dialog, QWidget* owner) : QWidget(owner, Qt::Dialog), dialog_(dialog) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    PostMessage(dialog_, WM_CLOSE, 0, 0);
  }
  void showEvent(QShowEvent*) override { PostMessage(dialog_, WM_PAINT, 0, 0); }

 private:
  WindowHandle dialog_;
};

// Room between a field's border and its text: a kilobyte count of seven
// digits still stands clear of both edges of its field.
constexpr int kFieldTextMargin = 2;

// A read-only field as the platform draws it: the text within a small
// margin inside the border, on a baseline that the labels beside the field
// share. A text too long for the field shows its end, as an automatically
// scrolled field leaves it.
class TemplateField final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

  // From the field's top: the text line centred in the field's height.
  int TextBaseline() const {
    const QFontMetrics metrics = fontMetrics();
    return (height() - metrics.height() + 1) / 2 + metrics.ascent();
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (!isReadOnly()) {
      QLineEdit::paintEvent(event);
      return;
    }
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    const QRect room = style()
                           ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
                           .adjusted(kFieldTextMargin, 0, -kFieldTextMargin, 0);
    const int width = fontMetrics().horizontalAdvance(text());
    const bool right = (alignment() & Qt::AlignRight) != 0 || width > room.width();
    painter.setClipRect(room);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(right ? room.left() + room.width() - width : room.left(), TextBaseline(), text());
  }
};

// The frame "File" as the platform draws a group box: its line runs through
// the middle of the title, which stands on the line a character in from
// the frame's corner.
class TemplateGroupBox final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    // DS_3DLOOK: an etched line, a shadow with a highlight beside it.
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -2, -2);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.translated(1, 1));
    const int gap = metrics.averageCharWidth() / 3;
    const QRect titleArea(metrics.averageCharWidth(), 0, metrics.horizontalAdvance(title()) + 2 * gap,
                          metrics.height());
    painter.fillRect(titleArea, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleArea, Qt::AlignCenter, title());
  }
};

// A label beside a field stands on the field's text line, as it does where
// the template was drawn: the numbers and "of" and "kB" read as one line.
void StandLabelsOnFieldBaselines(QWidget* dialog) {
  const QList<TemplateField*> fields = dialog->findChildren<TemplateField*>(Qt::FindDirectChildrenOnly);
  for (QLabel* label : dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    const int middle = label->geometry().center().y();
    for (const TemplateField* field : fields) {
      const QRect place = field->geometry();
      if (middle < place.top() || middle > place.bottom()) continue;
      const QFontMetrics metrics = label->fontMetrics();
      label->setGeometry(label->x(), place.top() + field->TextBaseline() - metrics.ascent(),
                         label->width(), std::max(label->height(), metrics.height()));
      break;
    }
  }
}

// Rounds a * b / c to nearest, as the platform's MulDiv does.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  return static_cast<int>(product >= 0 ? (product + c / 2) / c : (product - c / 2) / c);
}

QWidget* NewControl(const DialogControl& control, WindowHandle dialog, WindowHandle handle,
                    QWidget* parent) {
  const QString text = QString::fromLocal8Bit(control.text != nullptr ? control.text : "");
  const char* kind = control.className != nullptr ? control.className : "";
  if (strcasecmp(kind, "button") == 0) {
    if ((control.style & BS_TYPEMASK) == BS_GROUPBOX) return new TemplateGroupBox(text, parent);
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    const int id = control.id;
    QObject::connect(button, &QPushButton::clicked, [dialog, id, handle] {
      PostMessage(dialog, WM_COMMAND, static_cast<uintptr_t>(id & 0xFFFF), handle);
    });
    return button;
  }
  if (strcasecmp(kind, "static") == 0) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    const unsigned type = control.style & SS_TYPEMASK;
    label->setAlignment((type == SS_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    return label;
  }
  if (strcasecmp(kind, "edit") == 0) {
    auto* edit = new TemplateField(text, parent);
    edit->setReadOnly((control.style & ES_READONLY) != 0);
    edit->setFrame((control.style & WS_BORDER) != 0);
    edit->setAlignment(((control.style & ES_RIGHT) != 0 ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
    if (edit->isReadOnly()) {
      // Read-only fields take the dialog's face colour, as the platform draws them.
      QPalette palette = edit->palette();
      palette.setColor(QPalette::Base, palette.color(QPalette::Window));
      edit->setPalette(palette);
    }
    // Opaque: a field whose text changes while a log is converted repaints
    // alone, not the frame and the dialog behind it.
    edit->setAutoFillBackground(true);
    return edit;
  }
  // The progress control, and any class without a Qt counterpart: a plain
  // surface the program draws on.
  auto* surface = new BarSurface(parent);
  if ((control.style & WS_BORDER) == 0) surface->setContentsMargins(0, 0, 0, 0);
  return surface;
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  // The platform's average width: the 52 letters' width over 26, halved,
  // rounded up.
  const int letters =
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return DialogBaseUnits{(letters / 26 + 1) / 2, metrics.height()};
}

QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits units) {
  return QRect(MulDiv(x, units.width, 4), MulDiv(y, units.height, 8), MulDiv(width, units.width, 4),
               MulDiv(height, units.height, 8));
}

QFont TemplateFont(const DialogTemplate& dialogTemplate) {
  QString face = QString::fromLatin1(dialogTemplate.fontName != nullptr ? dialogTemplate.fontName : "");
  const QStringList installed = QFontDatabase::families();
  if (!installed.contains(face, Qt::CaseInsensitive)) {
    for (const FontSubstitute& substitute : kSubstitutes) {
      if (face.compare(QLatin1String(substitute.face), Qt::CaseInsensitive) == 0 &&
          installed.contains(QLatin1String(substitute.substitute), Qt::CaseInsensitive)) {
        face = QLatin1String(substitute.substitute);
      }
    }
  }
  QFont font(face, dialogTemplate.fontPointSize > 0 ? dialogTemplate.fontPointSize : 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QWidget* NewTemplateDialog(WindowHandle dialog, QWidget* owner,
                           const DialogTemplate& dialogTemplate, const WindowHandle* controls,
                           const std::function<void(WindowHandle, QWidget*)>& keep) {
  auto* frame = new TemplateDialog(dialog, owner);
  frame->setWindowTitle(QString::fromLocal8Bit(dialogTemplate.caption));
  const QFont font = TemplateFont(dialogTemplate);
  frame->setFont(font);
  const DialogBaseUnits units = BaseUnitsOf(font);
  // The template's size is that of the client area.
  const QRect client = DialogUnitsToPixels(0, 0, dialogTemplate.width, dialogTemplate.height, units);
  frame->resize(client.size());
  // DS_CENTER: first in the middle of the screen; the dialog's own
  // initialisation may move it.
  const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    QRect placed(QPoint(0, 0), client.size());
    placed.moveCenter(screen->availableGeometry().center());
    frame->move(placed.topLeft());
  }
  // The window exists before its initialisation places it, frame included,
  // as the platform's dialog does: the frame's size is known where the
  // window system tells it before the window appears.
  frame->winId();
  for (int i = 0; i < dialogTemplate.controlCount; ++i) {
    const DialogControl& control = dialogTemplate.controls[i];
    QWidget* widget = NewControl(control, dialog, controls[i], frame);
    widget->setGeometry(
        DialogUnitsToPixels(control.x, control.y, control.width, control.height, units));
    widget->setVisible((control.style & WS_VISIBLE) != 0);
    // A frame stands behind the controls it surrounds and takes no clicks from them.
    if (qobject_cast<QGroupBox*>(widget) != nullptr) widget->lower();
    keep(controls[i], widget);
  }
  StandLabelsOnFieldBaselines(frame);
  return frame;
}

BarSurface::BarSurface(QWidget* parent) : QWidget(parent) {
  setContentsMargins(1, 1, 1, 1);
  // It paints every pixel itself (the erased background first, as the
  // platform's control does), so nothing behind it is repainted with it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect BarSurface::ClientArea() const { return QRect(QPoint(0, 0), contentsRect().size()); }

void BarSurface::Fill(const QRect& rect, const QColor& colour) {
  filled_ = rect;
  colour_ = colour;
  update();
}

void BarSurface::Clear() {
  filled_ = QRect();
  update();
}

void BarSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const QMargins border = contentsMargins();
  if (border.left() > 0) {
    // WS_BORDER: a thin black line around the client area.
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (filled_.isEmpty()) return;
  // The rectangle in client coordinates, inside its one-pixel black outline.
  const QRect area = filled_.translated(border.left(), border.top());
  painter.fillRect(area, colour_);
  painter.setPen(Qt::black);
  painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace quorval
