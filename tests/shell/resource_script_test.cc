// The resource script that windres compiles into quorval.exe says what the
// resources data says: the script is written out from the data here and
// must equal the committed src/resources/quorval.rc byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "layer/win32_values.h"
#include "resources/resources.h"
#include "support/temp_folder.h"

using namespace quorval;

namespace {

struct StyleName {
  unsigned bits;
  const char* name;
};

// Window styles first, WS_CAPTION before the WS_BORDER it contains.
constexpr StyleName kWindowStyles[] = {
    {WS_POPUP, "WS_POPUP"},       {WS_CHILD, "WS_CHILD"},         {WS_VISIBLE, "WS_VISIBLE"},
    {WS_CAPTION, "WS_CAPTION"},   {WS_BORDER, "WS_BORDER"},       {WS_SYSMENU, "WS_SYSMENU"},
    {WS_THICKFRAME, "WS_THICKFRAME"}, {WS_GROUP, "WS_GROUP"},     {WS_TABSTOP, "WS_TABSTOP"},
};

// The low bits by class; a zero type is named too, for the reader.
std::string ClassStyle(const std::string& className, unsigned low) {
  const auto names = [&](std::initializer_list<StyleName> list) {
    std::string text;
    for (const StyleName& s : list) {
      if ((low & s.bits) == s.bits && s.bits != 0) {
        text += std::string(text.empty() ? "" : " | ") + s.name;
        low &= ~s.bits;
      }
    }
    return text;
  };
  std::string text;
  if (className == "button") {
    text = (low & 0xF) == BS_GROUPBOX ? "BS_GROUPBOX" : (low & 0xF) == 0 ? "BS_PUSHBUTTON" : "";
    if ((low & 0xF) == BS_GROUPBOX || (low & 0xF) == 0) low &= ~0xFu;
  } else if (className == "static") {
    text = (low & 0x1F) == SS_CENTER ? "SS_CENTER" : (low & 0x1F) == 0 ? "SS_LEFT" : "";
    if ((low & 0x1F) <= SS_CENTER) low &= ~0x1Fu;
  } else if (className == "edit") {
    text = names({{ES_READONLY, "ES_READONLY"}, {ES_AUTOHSCROLL, "ES_AUTOHSCROLL"}, {ES_RIGHT, "ES_RIGHT"}});
  } else if (className == "msctls_progress32") {
    text = names({{PBS_SMOOTH, "PBS_SMOOTH"}});
  } else if (className == "dialog") {
    text = names({{DS_CENTER, "DS_CENTER"}, {DS_SETFONT, "DS_SETFONT"}, {DS_3DLOOK, "DS_3DLOOK"}});
  }
  if (low != 0) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", low);
    text += std::string(text.empty() ? "" : " | ") + hex;
  }
  return text;
}

std::string StyleText(const std::string& className, unsigned style) {
  std::string text;
  for (const StyleName& s : kWindowStyles) {
    if ((style & s.bits) == s.bits) {
      text += std::string(text.empty() ? "" : " | ") + s.name;
      style &= ~s.bits;
    }
  }
  const std::string low = ClassStyle(className, style);
  if (!low.empty()) text += std::string(text.empty() ? "" : " | ") + low;
  return text.empty() ? "0" : text;
}

std::string Quoted(const char* text) {
  std::string quoted = "\"";
  for (const char* p = text; *p != '\0'; ++p) quoted += *p == '"' ? std::string("\"\"") : std::string(1, *p);
  return quoted + "\"";
}

std::string ResourceScript() {
  std::string rc =
      "// The program's resources, compiled into quorval.exe by windres: the main\n"
      "// menu, the string table, the version block and the progress dialog.\n"
      "// Written out from src/resources/*.cc by tests/shell/resource_script_test.cc,\n"
      "// which fails when the two differ; edit the data, then copy the script\n"
      "// the test writes over this file.\n"
      "#include <windows.h>\n#include <commctrl.h>\n\n";
  rc += std::string(kMainMenu.name) + " MENU\nBEGIN\n";
  for (int p = 0; p < kMainMenu.popupCount; ++p) {
    const MenuPopup& popup = kMainMenu.popups[p];
    rc += "    POPUP " + Quoted(popup.text) + "\n    BEGIN\n";
    for (int i = 0; i < popup.itemCount; ++i) {
      rc += "        MENUITEM " + Quoted(popup.items[i].text) + ", " + std::to_string(popup.items[i].id) + "\n";
    }
    rc += "    END\n";
  }
  rc += "END\n\nSTRINGTABLE\nBEGIN\n";
  for (int i = 0; i < kProgramResources.stringCount; ++i) {
    const StringResource& string = kProgramResources.strings[i];
    rc += "    " + std::to_string(string.id) + ", " + Quoted(string.text) + "\n";
  }
  rc += "END\n\n";

  const VersionBlock& v = kVersionBlock;
  const auto version = [](const uint16_t (&parts)[4]) {
    return std::to_string(parts[0]) + "," + std::to_string(parts[1]) + "," + std::to_string(parts[2]) + "," +
           std::to_string(parts[3]);
  };
  EXPECT_EQ(v.fileOs, VOS_NT_WINDOWS32);
  EXPECT_EQ(v.fileType, VFT_APP);
  const unsigned language = std::stoul(std::string(v.stringBlock).substr(0, 4), nullptr, 16);
  const unsigned codePage = std::stoul(std::string(v.stringBlock).substr(4), nullptr, 16);
  rc += "1 VERSIONINFO\nFILEVERSION " + version(v.fileVersion) + "\nPRODUCTVERSION " +
        version(v.productVersion) + "\nFILEOS VOS_NT_WINDOWS32\nFILETYPE VFT_APP\nBEGIN\n" +
        "    BLOCK \"StringFileInfo\"\n    BEGIN\n        BLOCK " + Quoted(v.stringBlock) + "\n        BEGIN\n";
  for (int i = 0; i < v.stringCount; ++i) {
    rc += "            VALUE " + Quoted(v.strings[i].key) + ", " + Quoted(v.strings[i].value) + "\n";
  }
  char translation[64];
  std::snprintf(translation, sizeof translation, "0x%X, %u", language, codePage);
  rc += "        END\n    END\n    BLOCK \"VarFileInfo\"\n    BEGIN\n        VALUE \"Translation\", " +
        std::string(translation) + "\n    END\nEND\n\n";

  const DialogTemplate& d = kProgressTemplate;
  rc += std::string(d.name) + " DIALOG " + std::to_string(d.x) + ", " + std::to_string(d.y) + ", " +
        std::to_string(d.width) + ", " + std::to_string(d.height) + "\nSTYLE " + StyleText("dialog", d.style) +
        "\nCAPTION " + Quoted(d.caption) + "\nFONT " + std::to_string(d.fontPointSize) + ", " + Quoted(d.fontName) +
        "\nBEGIN\n";
  for (int i = 0; i < d.controlCount; ++i) {
    const DialogControl& c = d.controls[i];
    rc += "    CONTROL " + Quoted(c.text) + ", " + std::to_string(c.id) + ", " + Quoted(c.className) + ", " +
          StyleText(c.className, c.style) + ", " + std::to_string(c.x) + ", " + std::to_string(c.y) + ", " +
          std::to_string(c.width) + ", " + std::to_string(c.height) + "\n";
  }
  return rc + "END\n";
}

TEST(ResourceScript, CompiledResourcesSayWhatTheResourcesDataSays) {
  const std::string committed = ReadBytes(QUORVAL_SOURCE_DIR "/src/resources/quorval.rc");
  const std::string written = ResourceScript();
  if (committed != written) {
    const std::string fresh = std::filesystem::current_path().string() + "/quorval.rc";
    std::ofstream(fresh, std::ios::binary) << written;
    ADD_FAILURE() << "src/resources/quorval.rc differs from the resources data; the script "
                     "the data gives is in "
                  << fresh;
  }
  // The parts a reader looks for, as the platform names them.
  EXPECT_NE(written.find("Bramlet_MENU MENU"), std::string::npos);
  EXPECT_NE(written.find("BLOCK \"040904e4\""), std::string::npos);
  EXPECT_NE(written.find("VALUE \"Translation\", 0x409, 1252"), std::string::npos);
  EXPECT_NE(written.find("STYLE WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | "
                         "DS_CENTER | DS_SETFONT | DS_3DLOOK"),
            std::string::npos);
  EXPECT_NE(written.find("CONTROL \"Cancel\", 2, \"button\", WS_CHILD | WS_VISIBLE | WS_TABSTOP | "
                         "BS_PUSHBUTTON, 290, 54, 45, 13"),
            std::string::npos);
}

}  // namespace
