// The resources a module of the program carries, as plain data: its menus,
// its dialog templates and its string table. The layer finds them in the
// module that an instance handle names, as the platform finds a module's
// resources by its handle; a program registers its module with the layer
// at start (RegisterResourceModule). Backends build their menus and dialogs
// from these structures.
#pragma once

namespace quorval {

// Menu.
struct MenuItem {
  const char* text;  // '&' marks the mnemonic letter; an empty text is a blank entry
  unsigned id;
  // An entry that the program checks and unchecks (CheckMenuItem); it starts
  // unchecked. A toolkit that draws the mark only on such entries needs to
  // know them.
  bool checkMark = false;
};

struct MenuPopup {
  const char* text;
  const MenuItem* items;
  int itemCount;
};

struct MenuResource {
  const char* name;
  const MenuPopup* popups;
  int popupCount;
};

// Dialog template. Positions and sizes are in dialog units.
struct DialogControl {
  int id;  // -1 for a control the program never addresses
  const char* className;
  const char* text;
  int x, y, width, height;
  unsigned style;
};

struct DialogTemplate {
  const char* name;
  const char* caption;
  const char* fontName;
  int fontPointSize;
  int x, y, width, height;
  unsigned style;
  const DialogControl* controls;
  int controlCount;
};

// String table.
struct StringResource {
  unsigned id;
  const char* text;
};

// Everything a module holds. Names of menus and templates match without
// regard to case, as the platform's resource names do.
struct ResourceModule {
  const MenuResource* const* menus;
  int menuCount;
  const DialogTemplate* const* dialogs;
  int dialogCount;
  const StringResource* strings;
  int stringCount;
};

}  // namespace quorval
