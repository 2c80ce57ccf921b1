#include "files/file_choosers.h"

#include <cstdio>

#include "state/run_state.h"

namespace quorval {

namespace {

struct ChooserKind {
  const char* title;
  uint32_t flags;
};

constexpr ChooserKind kKinds[] = {
    {"Open Input File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
    {"Open Output File Name", OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY},
    {"Open List File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
    {"Open Table File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
};

// The dialog's filter form: the texts separated and closed by zero bytes.
void SeparateFilterTexts(char* filter) {
  for (char* p = filter; *p != '\0'; ++p) {
    if (*p == '|') *p = '\0';
  }
}

bool FileExists(const char* path) {
  FILE* probe = std::fopen(path, "rb");
  if (probe == nullptr) return false;
  std::fclose(probe);
  return true;
}

}  // namespace

ChooseFileResult ChooseFile(WindowHandle owner, char* path, char* filter, ChooseFileKind kind) {
  SeparateFilterTexts(filter);
  if (kind < kChooseInput || kind > kChooseTable) return IDCANCEL;
  OpenFileNameRequest request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400;
  request.hwndOwner = owner;
  request.lpstrFilter = filter;
  request.lpstrFile = path;
  request.nMaxFile = kPathSize;
  request.lpstrTitle = kKinds[kind].title;
  request.Flags = kKinds[kind].flags;
  if (kind != kChooseOutput) return GetOpenFileName(request) ? IDYES : IDCANCEL;

  int answer;
  do {
    if (!GetOpenFileName(request)) return IDCANCEL;
    // A file that cannot be read counts as absent: nothing to overwrite.
    if (!FileExists(path)) return IDYES;
    answer = MessageBox(owner, "File already exists.  Overwrite?", "Open Output File",
                        MB_TASKMODAL | MB_ICONQUESTION | MB_YESNOCANCEL);
  } while (answer == IDNO);
  return answer == IDYES ? IDYES : IDCANCEL;
}

}  // namespace quorval
