// The numbers of the platform the shell was written for: message numbers,
// style bits, answers and flags keep their Win32 values, so a procedure can
// be laid beside its description and compared number for number.
#pragma once

#include <cstdint>

namespace quorval {

// Messages.
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_QUIT = 0x0012;
constexpr unsigned WM_INITDIALOG = 0x0110;
constexpr unsigned WM_COMMAND = 0x0111;

// Message box styles.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONWARNING = 0x0030;
constexpr unsigned MB_ICONINFORMATION = 0x0040;
constexpr unsigned MB_APPLMODAL = 0x0000;
constexpr unsigned MB_TASKMODAL = 0x2000;
constexpr unsigned MB_TYPEMASK = 0x000F;
constexpr unsigned MB_ICONMASK = 0x00F0;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;  // the second button is the default
constexpr unsigned MB_DEFMASK = 0x0F00;

// Message box answers (also the identifiers of the dialog buttons).
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDRETRY = 4;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// File dialog flags.
constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;
constexpr uint32_t OFN_PATHMUSTEXIST = 0x00000800;
constexpr uint32_t OFN_FILEMUSTEXIST = 0x00001000;
constexpr uint32_t OFN_EXPLORER = 0x00080000;
// The structure's size without the members later platform versions appended.
constexpr uint32_t OPENFILENAME_SIZE_VERSION_400 = 76;

// Window and class styles.
constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr unsigned WS_POPUP = 0x80000000;
constexpr unsigned WS_CHILD = 0x40000000;
constexpr unsigned WS_VISIBLE = 0x10000000;
constexpr unsigned WS_CAPTION = 0x00C00000;
constexpr unsigned WS_BORDER = 0x00800000;
constexpr unsigned WS_SYSMENU = 0x00080000;
constexpr unsigned WS_THICKFRAME = 0x00040000;
constexpr unsigned WS_GROUP = 0x00020000;
constexpr unsigned WS_TABSTOP = 0x00010000;
constexpr unsigned CS_VREDRAW = 0x0001;
constexpr unsigned CS_HREDRAW = 0x0002;
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// Dialog and control styles.
constexpr unsigned DS_3DLOOK = 0x0004;
constexpr unsigned DS_SETFONT = 0x0040;
constexpr unsigned DS_CENTER = 0x0800;
constexpr unsigned BS_PUSHBUTTON = 0x0000;
constexpr unsigned BS_GROUPBOX = 0x0007;
constexpr unsigned SS_LEFT = 0x0000;
constexpr unsigned SS_CENTER = 0x0001;
constexpr unsigned ES_RIGHT = 0x0002;
constexpr unsigned ES_AUTOHSCROLL = 0x0080;
constexpr unsigned ES_READONLY = 0x0800;
constexpr unsigned PBS_SMOOTH = 0x0001;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWDEFAULT = 10;

// Menu item states (by command identifier).
constexpr unsigned MF_BYCOMMAND = 0x0000;
constexpr unsigned MF_ENABLED = 0x0000;
constexpr unsigned MF_GRAYED = 0x0001;
constexpr unsigned MF_UNCHECKED = 0x0000;
constexpr unsigned MF_CHECKED = 0x0008;

// Text drawing.
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_WORDBREAK = 0x0010;

// Stock resources of the platform: application icon, arrow cursor, white brush.
constexpr unsigned IDI_APPLICATION = 32512;
constexpr unsigned IDC_ARROW = 32512;
constexpr int WHITE_BRUSH = 0;

// Colours as the platform packs them: red in the low byte, then green, then blue.
constexpr uint32_t RGB(unsigned red, unsigned green, unsigned blue) {
  return red | (green << 8) | (blue << 16);
}

}  // namespace quorval
