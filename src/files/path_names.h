// Cutting paths into base and extension, and finding the file name.
#pragma once

#include <cstddef>

namespace quorval {

// base receives the path without its extension (as many bytes as the path
// needs); extension receives the text from the last '.' that follows the
// last '/' or '\' (a ':' does not end it), or "." when there is none.
void SplitExtension(char* base, const char* path, char* extension);

// Where the file name begins: after the last '/', '\' or ':'.
const char* FileNamePart(const char* path);

}  // namespace quorval
