// Formats whose reader in SDL_image is not safe on damaged files are refused before
// it sees them. Today that is GIMP's XCF: its reader trusts every size in the file,
// and fuzzing made it take gigabytes, write through a null pointer and leak.
// XCF is a working format, not a sprite export, so nothing of value is lost.
#pragma once

#include <string>

namespace quillbit {

// Throws the run-time error naming path when bytes are in a refused format.
void RefuseUnsafeFormat(const std::string& bytes, const std::string& path);

}  // namespace quillbit
