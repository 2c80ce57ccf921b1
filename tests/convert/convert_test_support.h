// Shared scaffolding of the conversion tests: a fresh epoch record and run
// state for every test (both are program-wide and would otherwise carry one
// test's fixes into the next), a conversion of the test's own, the scripted
// backend recording what the progress pump does, and logs written to
// temporary files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "convert/sentence_handlers.h"
#include "layer/windowing.h"
#include "state/epoch_record.h"
#include "state/run_state.h"
#include "support/fresh_program.h"
#include "support/scripted_backend.h"
#include "support/temp_folder.h"

namespace convert_test {

using namespace quorval;

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
  }
  void TearDown() override {
    EndProgram();
    for (const std::string& problem : backend.Problems()) ADD_FAILURE() << problem;
  }

  ScriptedBackend backend;
  Conversion conversion{};  // the fixture lives on the heap, as a conversion must
};

// A rewound temporary file holding exactly these bytes.
inline FILE* TempFileWith(const std::string& bytes) {
  FILE* file = TempStream();
  if (file == nullptr) return nullptr;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

// A sentence as a capture holds it: followed by the bytes that a handler
// may read ahead. Valid until the next call.
inline const char* Captured(const std::string& sentence) {
  static std::string padded;
  padded = sentence;
  padded.append(kSentenceReadAhead, '\0');
  return padded.c_str();
}

inline std::string ReadAll(FILE* file) {
  std::string bytes;
  std::rewind(file);
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  return bytes;
}

}  // namespace convert_test
