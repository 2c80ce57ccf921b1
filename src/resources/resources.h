// The resources the program carries, as data that every backend builds its
// menus and dialogs from and that tests can assert: the main menu, the string
// table, the version block and the progress dialog template. Lookups by name
// ignore the letter case, as the platform's resource names do.
#pragma once

#include <cstdint>

// Controls of the "PROGRESS" template that its procedure fills.
constexpr int kProgressBarId = 30;
constexpr int kFileNameFieldId = 1044;
constexpr int kKilobytesReadFieldId = 1045;
constexpr int kKilobytesTotalFieldId = 1046;
constexpr int kFolderFieldId = 1047;

// Menu commands of the main window.
constexpr unsigned kExitCommand = 1250;
constexpr unsigned kAboutCommand = 3050;
constexpr unsigned kBatchCommand = 40005;
constexpr unsigned kSingleCommand = 40006;
constexpr unsigned kBlankCommand = 40007;

// Menu.
struct MenuItem {
  const char* text;  // '&' marks the mnemonic letter; an empty text is a blank entry
  unsigned id;
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

extern const MenuResource kMainMenu;  // "Bramlet_MENU"

// nullptr when no menu of that name exists.
const MenuResource* FindMenuResource(const char* name);

// String table: nullptr for an id it does not hold.
const char* FindStringResource(unsigned id);

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

extern const DialogTemplate kProgressTemplate;  // "PROGRESS"

// nullptr when no template of that name exists.
const DialogTemplate* FindDialogTemplate(const char* name);

// Version block.
struct VersionString {
  const char* key;
  const char* value;
};

struct VersionBlock {
  uint16_t fileVersion[4];
  uint16_t productVersion[4];
  uint32_t fileOs;
  uint32_t fileType;
  const char* stringBlock;  // language and code page, as the platform names the block
  const VersionString* strings;
  int stringCount;
};

constexpr uint32_t VOS_NT_WINDOWS32 = 0x00040004;
constexpr uint32_t VFT_APP = 0x00000001;

extern const VersionBlock kVersionBlock;

// The value of a string entry of the block, nullptr when it has none.
const char* FindVersionString(const char* key);
