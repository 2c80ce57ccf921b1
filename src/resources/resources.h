// The resources the program carries, as data that every backend builds its
// menus and dialogs from and that tests can assert: the main menu, the string
// table, the version block and the progress dialog template. The program
// registers them with the windowing layer as the resources of its own module.
#pragma once

#include <cstdint>

#include "layer/windowing.h"

namespace quorval {

// The program's own module, which holds these resources: Win32 loads a
// program's module at this address, and the handle stands for it wherever
// the program runs.
constexpr InstanceHandle kProgramInstance = 0x400000;

// Everything below, as the layer looks it up by name and id.
extern const ResourceModule kProgramResources;

// Menu "Bramlet_MENU" and the commands of its entries.
inline constexpr const char kMainMenuName[] = "Bramlet_MENU";
constexpr unsigned kExitCommand = 1250;
constexpr unsigned kAboutCommand = 3050;
constexpr unsigned kBatchCommand = 40005;
constexpr unsigned kSingleCommand = 40006;
constexpr unsigned kBlankCommand = 40007;
constexpr unsigned kShowLastTableCommand = 40008;
constexpr unsigned kAllSystemsCommand = 40010;  // Options, All satellite systems
constexpr unsigned kFixesTableCommand = 40011;  // Options, the fixes table beside the table
constexpr unsigned kSatellitesTableCommand = 40012;  // Options, the satellites table beside it

extern const MenuResource kMainMenu;

// String table.
constexpr unsigned kClassRegistrationFailedString = 1;
constexpr unsigned kWindowCreationFailedString = 2;

// Dialog template "PROGRESS" and the controls that its procedure fills.
inline constexpr const char kProgressTemplateName[] = "PROGRESS";
constexpr int kProgressBarId = 30;
constexpr int kFileNameFieldId = 1044;
constexpr int kKilobytesReadFieldId = 1045;
constexpr int kKilobytesTotalFieldId = 1046;
constexpr int kFolderFieldId = 1047;

extern const DialogTemplate kProgressTemplate;

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

}  // namespace quorval
