// The platform half of the Win32 backend: the window on a table, its four
// views as the tabs of a tab control, each drawn with GDI from the display
// list the views compute at the window's size, and exported as PNG or SVG.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "backends/win32/win32_calls.h"
#include "view/plot_table.h"
#include "view/png_encoder.h"
#include "view/scene.h"
#include "view/svg_writer.h"
#include "view/views.h"

namespace quorval::win32 {
namespace {

constexpr char kTableWindowClass[] = "QuorvalTable";
constexpr int kTabsHeight = 26;
constexpr int kExportWidth = 84;
constexpr int kExportButtonId = 1;

struct TableWindow {
  std::string path;
  view::PlotTable table;
  view::ViewKind kind = view::ViewKind::kTrack;
  HWND window = nullptr;
  HWND tabs = nullptr;
  HWND exportButton = nullptr;
};

// Every table window open, one per table.
std::vector<TableWindow*> tableWindows;

COLORREF Rgb(view::Colour colour) { return RGB(colour.r, colour.g, colour.b); }

int Round(double value) { return static_cast<int>(std::lround(value)); }

// A pen or brush selected into the context for one primitive, and deleted after.
class Selected {
 public:
  Selected(HDC context, HGDIOBJ object) : context_(context), object_(object) {
    previous_ = SelectObject(context, object);
  }
  ~Selected() {
    SelectObject(context_, previous_);
    DeleteObject(object_);
  }

 private:
  HDC context_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
};

// No colour (alpha 0) draws no outline or no fill.
HGDIOBJ PenOf(view::Colour colour, double width, bool dashed = false) {
  if (colour.a == 0) return CreatePen(PS_NULL, 0, 0);
  LOGBRUSH brush{BS_SOLID, Rgb(colour), 0};
  const DWORD dashes[] = {4, 3};
  return ExtCreatePen(PS_GEOMETRIC | (dashed ? PS_USERSTYLE : PS_SOLID) | PS_ENDCAP_ROUND |
                          PS_JOIN_ROUND,
                      std::max(1, Round(width)), &brush, dashed ? 2 : 0, dashed ? dashes : nullptr);
}

HGDIOBJ BrushOf(view::Colour colour) {
  if (colour.a == 0) {
    LOGBRUSH none{BS_NULL, 0, 0};
    return CreateBrushIndirect(&none);
  }
  return CreateSolidBrush(Rgb(colour));
}

void Draw(HDC context, const view::Polyline& line) {
  if (line.points.size() < 2) return;
  std::vector<POINT> points;
  points.reserve(line.points.size());
  for (const view::ScenePoint& p : line.points) points.push_back(POINT{Round(p.x), Round(p.y)});
  Selected pen(context, PenOf(line.colour, line.width, line.dashed));
  Polyline(context, points.data(), static_cast<int>(points.size()));
}

void Draw(HDC context, const view::Marker& mark) {
  Selected pen(context, PenOf(mark.stroke, mark.strokeWidth));
  Selected brush(context, BrushOf(mark.fill));
  const double x = mark.centre.x, y = mark.centre.y, r = mark.radius;
  switch (mark.shape) {
    case view::MarkerShape::kCircle:
      Ellipse(context, Round(x - r), Round(y - r), Round(x + r) + 1, Round(y + r) + 1);
      break;
    case view::MarkerShape::kSquare:
      Rectangle(context, Round(x - r), Round(y - r), Round(x + r) + 1, Round(y + r) + 1);
      break;
    case view::MarkerShape::kTriangle: {
      const double half = r * std::sqrt(3.0);
      const POINT corners[] = {{Round(x), Round(y - 2 * r)}, {Round(x + half), Round(y + r)},
                               {Round(x - half), Round(y + r)}};
      Polygon(context, corners, 3);
      break;
    }
  }
}

void Draw(HDC context, const view::SceneRect& rect) {
  Selected pen(context, PenOf(rect.stroke, rect.strokeWidth));
  Selected brush(context, BrushOf(rect.fill));
  Rectangle(context, Round(rect.x), Round(rect.y), Round(rect.x + rect.width) + 1,
            Round(rect.y + rect.height) + 1);
}

// The text is UTF-8 ("°"); the anchor's middle is half the cap height
// above the baseline, turned with the text.
void Draw(HDC context, const view::SceneText& text) {
  std::wstring wide(text.text.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, text.text.data(),
                                                      static_cast<int>(text.text.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  // GDI turns text anticlockwise in tenths of a degree.
  const int escapement = Round(-text.angle * 10);
  Selected font(context, CreateFontA(-std::max(1, Round(text.size)), 0, escapement, escapement,
                                     text.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial"));
  TEXTMETRICA metrics;
  GetTextMetricsA(context, &metrics);
  UINT align = text.h == view::HAnchor::kStart    ? TA_LEFT
               : text.h == view::HAnchor::kMiddle ? TA_CENTER
                                                  : TA_RIGHT;
  double down = 0;  // from the anchor to the baseline, in the text's own direction
  switch (text.v) {
    case view::VAnchor::kTop: down = metrics.tmAscent; break;
    case view::VAnchor::kMiddle: down = (metrics.tmAscent - metrics.tmDescent) / 2.0; break;
    case view::VAnchor::kBaseline: break;
    case view::VAnchor::kBottom: down = -metrics.tmDescent; break;
  }
  const double turn = text.angle * 3.14159265358979323846 / 180;
  SetTextAlign(context, align | TA_BASELINE);
  SetTextColor(context, Rgb(text.colour));
  SetBkMode(context, TRANSPARENT);
  TextOutW(context, Round(text.at.x - down * std::sin(turn)), Round(text.at.y + down * std::cos(turn)),
           wide.data(), static_cast<int>(wide.size()));
}

// The scene's items over its background, in a context of the scene's size.
void DrawScene(HDC context, const view::Scene& scene, int width, int height) {
  const RECT all{0, 0, width, height};
  HBRUSH background = CreateSolidBrush(Rgb(scene.background));
  FillRect(context, &all, background);
  DeleteObject(background);
  for (const view::SceneItem& item : scene.items) {
    std::visit([context](const auto& primitive) { Draw(context, primitive); }, item);
  }
}

// The view at the canvas's size, drawn off screen and then copied, so that
// a redraw does not flicker.
void PaintView(TableWindow& shown, HDC target, const RECT& canvas) {
  const int width = canvas.right - canvas.left, height = canvas.bottom - canvas.top;
  if (width <= 0 || height <= 0) return;
  view::Scene scene;
  view::BuildView(shown.kind, shown.table, width, height, scene);
  HDC context = CreateCompatibleDC(target);
  HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
  HGDIOBJ previous = SelectObject(context, bitmap);
  DrawScene(context, scene, width, height);
  BitBlt(target, canvas.left, canvas.top, width, height, context, 0, 0, SRCCOPY);
  SelectObject(context, previous);
  DeleteObject(bitmap);
  DeleteDC(context);
}

// The scene drawn into a top-down 24-bit bitmap of its own, as PNG bytes;
// empty when GDI could not give the bitmap.
std::string ScenePng(const view::Scene& scene, int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return {};
  HDC context = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(context, bitmap);
  DrawScene(context, scene, width, height);
  GdiFlush();
  // GDI's rows are blue, green, red and padded to four bytes.
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  auto* rows = static_cast<unsigned char*>(bits);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = rows + stride * static_cast<size_t>(y);
    for (int x = 0; x < width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
  }
  std::string png = view::PngBytes(rows, width, height, stride);
  SelectObject(context, previous);
  DeleteDC(context);
  DeleteObject(bitmap);
  return png;
}

bool EndsWith(const std::string& text, const char* tail) {
  const size_t length = std::strlen(tail);
  return text.size() >= length &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + text.size() - length,
                        static_cast<int>(length), tail, static_cast<int>(length)) == CSTR_EQUAL;
}

// The view on screen, at its size on screen, written as path says; what
// failed, or nothing.
std::string ExportView(const TableWindow& shown, const std::string& path) {
  RECT canvas;
  GetClientRect(shown.window, &canvas);
  const int width = std::max(1L, canvas.right), height = std::max(1L, canvas.bottom - kTabsHeight);
  view::Scene scene;
  view::BuildView(shown.kind, shown.table, width, height, scene);
  int error = 0;
  if (EndsWith(path, ".svg")) {
    error = view::WriteSvgFile(scene, path.c_str());
  } else if (EndsWith(path, ".png")) {
    const std::string png = ScenePng(scene, width, height);
    if (png.empty()) return "Cannot encode the PNG image of '" + path + "'";
    error = view::WriteWholeFile(path.c_str(), png.data(), png.size());
  } else {
    return "Cannot export to '" + path + "': the name must end in .png or .svg";
  }
  if (error != 0) return "Cannot write '" + path + "': " + std::strerror(error);
  return {};
}

// The save chooser, proposing the table's name with the view's beside it.
void ExportWithDialog(const TableWindow& shown) {
  std::string proposed = shown.path;
  const size_t folder = proposed.find_last_of("\\/:") + 1;  // npos + 1 is 0
  const size_t dot = proposed.rfind('.');
  if (dot != std::string::npos && dot >= folder) proposed.erase(dot);
  proposed += std::string("-") + view::ViewName(shown.kind) + ".png";
  char name[MAX_PATH] = {};
  if (proposed.size() < sizeof name) proposed.copy(name, sizeof name - 1);
  static const char kFilter[] = "PNG image (*.png)\0*.png\0SVG drawing (*.svg)\0*.svg\0";
  OPENFILENAMEA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = shown.window;
  chooser.lpstrFilter = kFilter;
  chooser.nFilterIndex = 1;
  chooser.lpstrFile = name;
  chooser.nMaxFile = sizeof name;
  chooser.lpstrTitle = "Export View";
  chooser.lpstrDefExt = "png";  // the chosen type's extension when none is typed
  chooser.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&chooser)) return;
  const std::string failure = ExportView(shown, name);
  if (!failure.empty()) MessageBoxA(shown.window, failure.c_str(), "Export View", MB_OK | MB_ICONWARNING);
}

void ReadTable(TableWindow& shown) {
  shown.table = view::PlotTable{};
  view::ReadPlotTable(shown.path.c_str(), shown.table);
  SetWindowTextA(shown.window, ("Quorval - " + shown.table.name).c_str());
  InvalidateRect(shown.window, nullptr, FALSE);
}

LRESULT CALLBACK TableWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* shown = reinterpret_cast<TableWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      shown = static_cast<TableWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      shown->window = window;
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(shown));
      break;
    case WM_CREATE: {
      shown->tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
      SendMessageA(shown->tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
      for (int i = 0; i < 4; ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(view::ViewTitle(view::kAllViews[i]));
        SendMessageA(shown->tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
      }
      shown->exportButton = CreateWindowExA(
          0, "BUTTON", "Export...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0, window,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExportButtonId)), GetModuleHandleA(nullptr), nullptr);
      SendMessageA(shown->exportButton, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
      return 0;
    }
    case WM_SIZE:
      MoveWindow(shown->tabs, 0, 0, std::max(0, LOWORD(lParam) - kExportWidth), kTabsHeight, TRUE);
      MoveWindow(shown->exportButton, std::max(0, LOWORD(lParam) - kExportWidth + 2), 1,
                 kExportWidth - 4, kTabsHeight - 3, TRUE);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
        shown->kind = view::kAllViews[SendMessageA(shown->tabs, TCM_GETCURSEL, 0, 0) & 3];
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kExportButtonId && HIWORD(wParam) == BN_CLICKED) ExportWithDialog(*shown);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the view covers the canvas
    case WM_PAINT:
    case WM_PRINTCLIENT: {  // on screen, or into a context someone gives (a picture of it)
      PAINTSTRUCT paint;
      HDC context = message == WM_PAINT ? BeginPaint(window, &paint) : reinterpret_cast<HDC>(wParam);
      RECT canvas;
      GetClientRect(window, &canvas);
      canvas.top = kTabsHeight;
      PaintView(*shown, context, canvas);
      if (message == WM_PAINT) EndPaint(window, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      std::erase(tableWindows, shown);
      delete shown;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void ShowTable(const char* tablePath) {
  for (TableWindow* shown : tableWindows) {
    if (shown->path == tablePath) {
      ReadTable(*shown);  // afresh: a later run may have written it again
      ShowWindow(shown->window, SW_SHOWNORMAL);
      SetForegroundWindow(shown->window);
      return;
    }
  }
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(instance, kTableWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = TableWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.lpszClassName = kTableWindowClass;
    RegisterClassA(&windowClass);
  }
  auto* shown = new TableWindow;
  shown->path = tablePath;
  tableWindows.push_back(shown);
  // The window is the program's own, beside the main window, not over it.
  if (CreateWindowExA(0, kTableWindowClass, "Quorval", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, 1000, 760, nullptr, nullptr, instance,
                      shown) == nullptr) {
    if (std::erase(tableWindows, shown) > 0) delete shown;  // unless its destruction did
    return;
  }
  ReadTable(*shown);
  ShowWindow(shown->window, SW_SHOWNORMAL);
}

void CloseTableWindows() {
  while (!tableWindows.empty()) DestroyWindow(tableWindows.back()->window);
}

}  // namespace quorval::win32
