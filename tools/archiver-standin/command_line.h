// The extraction commands the stand-in understands, in the four dialects of
// the program's archiver table. No <windows.h>: plain text handling.
#pragma once

#include <string>
#include <vector>

namespace tarnuvo_tools {

struct ExtractRequest {
    bool flat = false;       // members land in the destination without their folders
    bool overwrite = false;  // existing files are replaced
    std::string archive;
    std::string destination;
    std::vector<std::string> members;  // empty: every member
};

// Splits at spaces; a double quote starts a token that runs to the next
// double quote. Quoted tokens are never switches. False on an unclosed quote.
struct Token {
    std::string text;
    bool quoted = false;
};
bool tokenize(const std::string& line, std::vector<Token>& out);

// Reads an extraction command of the given dialect (0 to 3 as in the
// program's table). False for anything else: another command, an unknown
// switch, a missing archive or destination.
bool parseExtractCommand(int dialect, const std::string& line, ExtractRequest& out);

}  // namespace tarnuvo_tools
