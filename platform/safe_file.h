// Replacing a file in one step: the new content is written completely before the old file goes.
#pragma once

#include <string>
#include <vector>

namespace nonari {

// Writes bytes to a temporary file beside path, then renames it over path.
// On any failure the old file stays as it was and false is returned.
bool replaceFileContents(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace nonari
