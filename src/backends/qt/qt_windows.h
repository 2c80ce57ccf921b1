// The Qt widgets that present the layer's windows, each built from the
// program's resources: the main window with the menu, the dialog from its
// template (with the bar surface), the message box and the file dialog.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "layer/windowing.h"
#include "resources/resources.h"

namespace quorval {

class QtBackend;

// --- The main window (qt_main_window.cc) ---

// A top-level window with the menu as the resource holds it and a white
// client area that the window procedure paints. The close box posts WM_CLOSE.
QWidget* NewMainWindow(QtBackend& backend, WindowHandle window, const QString& title,
                       const MenuResource* menu);
// The widget of the client area (below the menu bar).
QWidget* MainWindowClient(QWidget* mainWindow);
// Greys or enables the menu entry of a command.
void EnableMenuCommand(QWidget* mainWindow, unsigned id, bool enabled);
// Sets or clears the check mark of a command's entry.
void CheckMenuCommand(QWidget* mainWindow, unsigned id, bool checked);

// --- Dialogs from templates (qt_dialog_template.cc) ---

// The platform's dialog base units of a font: the average width of the
// letters and the character height. A dialog unit is a quarter of the
// width horizontally and an eighth of the height vertically.
struct DialogBaseUnits {
  int width;
  int height;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);
// A rectangle given in dialog units, in pixels (rounded as the platform
// rounds: to nearest).
QRect DialogUnitsToPixels(int x, int y, int width, int height, DialogBaseUnits units);
// The template's font: its face at its size, or the face's metric-compatible
// substitute where it is not installed.
QFont TemplateFont(const DialogTemplate& dialogTemplate);

// A modeless dialog owned by owner, its controls at their template places.
// controls[i] is the layer's handle of the template's i-th control; keep()
// is told the widget of each. A button posts WM_COMMAND with its
// identifier, the close box WM_CLOSE, and showing the dialog asks it to
// repaint (WM_PAINT with lParam 0), as the window system does.
QWidget* NewTemplateDialog(WindowHandle dialog, QWidget* owner,
                           const DialogTemplate& dialogTemplate, const WindowHandle* controls,
                           const std::function<void(WindowHandle, QWidget*)>& keep);

// A control used only as a surface to draw on: a one-pixel border around
// its client area, and the last rectangle the program filled in it.
class BarSurface final : public QWidget {
 public:
  explicit BarSurface(QWidget* parent);
  QRect ClientArea() const;  // inside the border, origin 0, 0
  void Fill(const QRect& rect, const QColor& colour);
  void Clear();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect filled_;
  QColor colour_;
};

// --- Boxes and the file dialog (qt_message_box.cc, qt_file_dialog.cc) ---

// Where a box stands: below the window it must leave readable (the
// progress dialog, whose final state the closing prompt is about), centred
// on the vertical line at centreX; where the window system puts it when
// below is nullptr.
struct BoxPlace {
  const QWidget* below = nullptr;
  int centreX = 0;
};

// Shows a modal box with the icon and buttons of the style, wide enough for
// its caption; returns the answer id (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO).
int ShowMessageBox(QWidget* owner, const char* text, const char* caption, unsigned style,
                   BoxPlace place = {});

// The dialog's filter list in Qt's form: "description (patterns)". "*.*"
// matches every name, with or without a dot; an entry without a pattern
// shows all files.
QStringList NameFilters(const char* filter);

// Qt's own file dialog as the file-open dialog: true with the chosen full
// path in request.lpstrFile.
bool ShowOpenFileDialog(QWidget* owner, OpenFileNameRequest& request);

}  // namespace quorval
