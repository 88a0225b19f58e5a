#include "command_line.h"

#include <cstring>

namespace tarnuvo_tools {

bool tokenize(const std::string& line, std::vector<Token>& out) {
    out.clear();
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Token token;
        if (line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string::npos) return false;
            token.text = line.substr(i + 1, close - i - 1);
            token.quoted = true;
            i = close + 1;
        } else {
            size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
            token.text = line.substr(i, end - i);
            i = end;
        }
        out.push_back(token);
    }
    return true;
}

namespace {

bool isSwitch(const Token& t) {
    return !t.quoted && !t.text.empty() && t.text[0] == '-';
}

// Applies one switch of a dialect; false for a switch the dialect lacks.
bool applySwitch(int dialect, const std::string& s, ExtractRequest& r, bool& sawCommand) {
    switch (dialect) {
        case 0:  // SevenZip: e|x -hide -aoa -y
            if (s == "-aoa") r.overwrite = true;
            return s == "-aoa" || s == "-y" || s == "-hide";
        case 1:  // Unrar: -e|-x -q -y -o
            if (s == "-e" || s == "-x") {
                r.flat = s == "-e";
                sawCommand = true;
                return true;
            }
            if (s == "-o") r.overwrite = true;
            return s == "-o" || s == "-y" || s == "-q";
        case 2:  // Unlha: e -a1 -p -n -gm [-x1] -y
            if (s == "-x1") r.flat = false;
            if (s == "-y") r.overwrite = true;
            return s == "-x1" || s == "-y" || s == "-a1" || s == "-p" || s == "-n" || s == "-gm";
        case 3:  // UnZip: -x [-j] --i -qq -o
            if (s == "-x") sawCommand = true;
            if (s == "-j") r.flat = true;
            if (s == "-o") r.overwrite = true;
            return s == "-x" || s == "-j" || s == "--i" || s == "-qq" || s == "-o";
        default:
            return false;
    }
}

bool endsWithSeparator(const std::string& s) {
    return !s.empty() && (s.back() == '\\' || s.back() == '/');
}

}  // namespace

bool parseExtractCommand(int dialect, const std::string& line, ExtractRequest& out) {
    out = ExtractRequest();
    std::vector<Token> tokens;
    if (!tokenize(line, tokens) || tokens.empty()) return false;
    size_t i = 0;
    bool sawCommand = false;
    // SevenZip and Unlha name the command with a bare word first.
    if (dialect == 0 || dialect == 2) {
        const Token& word = tokens[i++];
        if (word.quoted) return false;
        if (dialect == 0 && (word.text == "e" || word.text == "x")) {
            out.flat = word.text == "e";
        } else if (dialect == 2 && word.text == "e") {
            out.flat = true;
        } else {
            return false;
        }
        sawCommand = true;
    }
    std::vector<std::string> positional;
    for (; i < tokens.size(); ++i) {
        if (isSwitch(tokens[i])) {
            // Switches after the archive name would be names in disguise.
            if (!positional.empty()) return false;
            if (!applySwitch(dialect, tokens[i].text, out, sawCommand)) return false;
        } else {
            positional.push_back(tokens[i].text);
        }
    }
    if (!sawCommand || positional.size() < 2) return false;
    out.archive = positional[0];
    if (!endsWithSeparator(positional[1])) return false;
    out.destination = positional[1];
    out.members.assign(positional.begin() + 2, positional.end());
    return true;
}

}  // namespace tarnuvo_tools
