#include "app/command_line.h"

namespace tarnuvo {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view text) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && isBlank(text[i])) ++i;
    while (i < n) {
        std::string argument;
        if (text[i] == '"') {
            while (i < n && text[i] == '"') ++i;
            size_t end = text.find('"', i);
            if (end == std::string_view::npos) end = n;
            argument.assign(text.substr(i, end - i));
            // Only the closing quote goes: a quote after it opens the next
            // argument, as with a quoted program path before a quoted file.
            i = end < n ? end + 1 : n;
            while (i < n && isBlank(text[i])) ++i;
        } else {
            size_t start = i;
            while (i < n && !isBlank(text[i])) ++i;
            argument.assign(text.substr(start, i - start));
            while (i < n && isBlank(text[i])) ++i;
        }
        if (arguments.empty() || !argument.empty()) arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string commandLineFile(std::string_view text) {
    std::vector<std::string> arguments = splitCommandLine(text);
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument[0] == '/' || argument[0] == '-') continue;
        if (argument.size() > kMaxPathBytes) continue;
        return argument;
    }
    return {};
}

}  // namespace tarnuvo
