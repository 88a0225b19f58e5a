// Directory paths in the ANSI code page: a backslash byte that is the second
// half of a double-byte character is never taken for a separator.
#pragma once

#include <cstddef>

namespace tarnuvo {

// True when the text ends in a real backslash.
bool endsWithBackslash(const char* text);

// Appends a backslash unless the text already ends in one. False, leaving the
// text alone, when `capacity` bytes have no room for it.
bool appendBackslash(char* text, size_t capacity);

// 1 when every directory along `path` exists or was created, 0 otherwise.
// A drive root ("C:\") and the server and share of a network path are taken
// whole.
int makeDirectoryPath(const char* path);

}  // namespace tarnuvo
