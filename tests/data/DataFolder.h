#pragma once
// The hand-written data set in the source tree and the lists it is checked against.
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace data_test {

// The data folder sits beside the tests folder; this file is compiled from an absolute path.
inline std::filesystem::path DataRoot() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data";
}

inline std::filesystem::path FixtureRoot() { return std::filesystem::path(__FILE__).parent_path(); }

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// One name a line: the project's own lists of what the code names.
inline std::set<std::string> NameList(const char* fixture) {
    std::set<std::string> names;
    for (const std::string& line : Lines(ReadWhole(FixtureRoot() / fixture))) {
        if (!line.empty()) {
            names.insert(line);
        }
    }
    return names;
}

// The titles of the files in `folder` (relative to the data root) with that extension.
inline std::vector<std::string> Titles(const char* folder, const char* extension) {
    std::vector<std::string> titles;
    for (const auto& entry : std::filesystem::directory_iterator(DataRoot() / folder)) {
        if (entry.path().extension() == extension) {
            titles.push_back(entry.path().stem().string());
        }
    }
    return titles;
}

inline bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

inline bool Exists(const std::filesystem::path& relative) { return std::filesystem::exists(DataRoot() / relative); }

// Empty lines and lines whose first word starts with "//" are skipped by every script reader.
inline bool IsComment(const std::vector<std::string>& words) { return words.empty() || words[0].rfind("//", 0) == 0; }

// Speech clips with their spoken words, one "name<TAB>words" line each; "#" starts a comment.
inline std::map<std::string, std::string> SpeechLines() {
    std::map<std::string, std::string> clips;
    for (const std::string& line : Lines(ReadWhole(DataRoot() / "Speech" / "lines.txt"))) {
        const size_t tab = line.find('\t');
        if (!line.empty() && line[0] != '#' && tab != std::string::npos) {
            clips[line.substr(0, tab)] = line.substr(tab + 1);
        }
    }
    return clips;
}

}  // namespace data_test
