// Text files that begin with a byte-order mark (UTF-16 LE, UTF-16 BE or
// UTF-8) are read by the platform's profile functions in that encoding and
// handed out in the ANSI code page; this gives the same bytes.
#pragma once

#include <string>

namespace tarnuvo {

// Replaces marked text by its ANSI code page form, characters the code page
// lacks as '?' (one per UTF-16 unit). False, with bytes untouched, when there
// is no mark.
bool convertMarkedText(std::string& bytes);

}  // namespace tarnuvo
