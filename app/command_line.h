// The program's command line: which file to load at start. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnuvo {

// The longest path the program accepts (a 260-byte buffer with its zero).
constexpr size_t kMaxPathBytes = 259;

// Splits a command line into arguments. An argument that begins with a
// double quote runs, after any number of opening quotes, up to the next
// quote; any other runs up to the next space or tab. Runs of spaces and tabs
// separate arguments; a quote after a closing quote opens the next argument
// (`"C:\Program Files\T.exe" "a b.ogg"`). The first argument,
// the program, is kept even when empty; later empty arguments are dropped.
// Bytes only: in the double-byte code pages a quote, space or tab is never
// the second byte of a character.
std::vector<std::string> splitCommandLine(std::string_view text);

// The file named on the command line: the first argument after the program
// that does not begin with '/' or '-' and fits in kMaxPathBytes. A longer one
// is skipped, never cut: a cut could name another file or split a character.
// Empty when there is none.
std::string commandLineFile(std::string_view text);

}  // namespace tarnuvo
