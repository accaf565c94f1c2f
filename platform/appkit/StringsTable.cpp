#include "platform/appkit/StringsTable.hpp"

#include <fstream>
#include <regex>
#include <sstream>

namespace zelvana::platform {

namespace {

std::string unescaped(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result += text[i];
            continue;
        }
        const char next = text[++i];
        result += next == 'n' ? '\n' : next;
    }
    return result;
}

}  // namespace

std::map<std::string, std::string> readStringsFile(const std::filesystem::path& path) {
    std::map<std::string, std::string> table;
    std::ifstream file(path);
    if (!file) return table;
    std::stringstream contents;
    contents << file.rdbuf();
    const std::string text = contents.str();
    static const std::regex entry(R"re("((?:[^"\\]|\\.)*)"\s*=\s*"((?:[^"\\]|\\.)*)"\s*;)re");
    for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it) {
        table[unescaped((*it)[1])] = unescaped((*it)[2]);
    }
    return table;
}

}  // namespace zelvana::platform
