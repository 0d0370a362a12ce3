// Every sound and picture the program's code names is in the runtime folder the data set
// builds. The names are gathered from the source itself: whole names ("Tick.ogg") and names
// the code composes round a number or another name ("Goal" + n + ".tga", n + "Button.tga").
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

struct NamedFile {
    std::string pattern;  // lower case; a whole name, or a regular expression for a composed one
    bool composed = false;
    std::string where;  // source file and line
};

std::string Escaped(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

// The file name part of a literal: what follows the last folder separator.
std::string FileName(const std::string& literal) {
    const size_t cut = literal.find_last_of("\\/");
    return cut == std::string::npos ? literal : literal.substr(cut + 1);
}

std::vector<NamedFile> NamesTheCodeAsksFor(const fs::path& sourceRoot) {
    static const std::regex literal(R"re("([^"\\]|\\.)*")re");
    static const std::regex asset(R"(^[A-Za-z0-9_ -]*\.(ogg|wav|tga|bmp|png)$)", std::regex::icase);
    std::vector<NamedFile> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(sourceRoot)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            const size_t comment = line.find("//");
            if (comment != std::string::npos && line.find('"') > comment) line.erase(comment);
            const std::string where = fs::relative(entry.path(), sourceRoot).string() + ":" + std::to_string(number);
            std::string previous;  // the literal before this one on the line, and what lies between
            size_t previousEnd = 0;
            for (auto it = std::sregex_iterator(line.begin(), line.end(), literal); it != std::sregex_iterator();
                 ++it) {
                const std::string text = it->str().substr(1, it->length() - 2);
                const size_t begin = size_t(it->position()), end = begin + size_t(it->length());
                const std::string before = line.substr(previousEnd, begin - previousEnd);
                const std::string name = FileName(text);
                if (std::regex_match(name, asset) && name.find('*') == std::string::npos) {
                    const size_t plus = line.find_last_not_of(" \t", begin == 0 ? 0 : begin - 1);
                    const bool suffix = begin > 0 && plus != std::string::npos && line[plus] == '+';
                    NamedFile named{Lower(name), suffix, where};
                    if (suffix) {
                        // "Prefix" + something + "Suffix.ext", or something + "Suffix.ext".
                        const bool joined = !previous.empty() && before.find('+') != std::string::npos &&
                                            before.find(';') == std::string::npos &&
                                            before.find(',') == std::string::npos;
                        // A number in between stands for digits, anything else for any name.
                        const std::string between =
                            line.substr(joined ? previousEnd : 0, begin - (joined ? previousEnd : 0));
                        const bool number = between.find("FromInt(") != std::string::npos ||
                                            between.find("to_string(") != std::string::npos;
                        named.pattern =
                            (joined ? Escaped(Lower(FileName(previous))) : std::string(number ? ".*" : "")) +
                            (number ? "[0-9]+" : ".+") + Escaped(Lower(name));
                    }
                    // A bare extension (".bmp") names a file only as the end of a composed one.
                    if (suffix || name[0] != '.') names.push_back(named);
                }
                previous = text;
                previousEnd = end;
            }
        }
    }
    return names;
}

// Every file name below the runtime folder, lower case (the game finds names in any case).
std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.insert(Lower(entry.path().filename().string()));
    return files;
}

// The terrain's atlases are composed by the game from the ground tiles and kept beside them.
bool WrittenByTheGame(const std::string& pattern) {
    return pattern == "basetiles.tga" || pattern.rfind("cornertiles", 0) == 0;
}

// The names no file answers, each with where the code asks for it.
std::vector<std::string> Missing(const std::vector<NamedFile>& names, const std::set<std::string>& files) {
    std::vector<std::string> missing;
    for (const NamedFile& named : names) {
        if (WrittenByTheGame(named.pattern)) continue;
        bool found = false;
        if (!named.composed) {
            found = files.count(named.pattern) > 0;
        } else {
            const std::regex pattern(named.pattern);
            found = std::any_of(files.begin(), files.end(),
                                [&](const std::string& file) { return std::regex_match(file, pattern); });
        }
        if (!found) missing.push_back(named.pattern + " (" + named.where + ")");
    }
    return missing;
}

TEST(CodeNamedFiles, EverySoundAndPictureTheCodeNamesIsInTheRuntimeFolder) {
    const std::vector<NamedFile> names = NamesTheCodeAsksFor(VORNS_SOURCE_ROOT);
    const std::set<std::string> files = FilesIn(VORNS_GAME_DIR);

    // The gathering finds whole names and composed ones from both sides of the number.
    auto asked = [&](const std::string& pattern) {
        return std::any_of(names.begin(), names.end(), [&](const NamedFile& n) { return n.pattern == pattern; });
    };
    EXPECT_TRUE(asked("tick.ogg"));
    EXPECT_TRUE(asked("goal[0-9]+\\.tga"));
    EXPECT_TRUE(asked(".*[0-9]+button\\.tga"));

    std::ostringstream report;
    for (const std::string& name : Missing(names, files)) report << "\n  " << name;
    EXPECT_EQ(report.str(), "") << "named by the code but not in " << VORNS_GAME_DIR;

    // A runtime folder that lacks one of them is caught, whole name or composed.
    std::set<std::string> lacking = files;
    lacking.erase("tick.ogg");
    const std::regex goalPicture(R"(goal[0-9]+\.tga)");
    for (auto it = lacking.begin(); it != lacking.end();)
        it = std::regex_match(*it, goalPicture) ? lacking.erase(it) : ++it;
    const std::vector<std::string> missing = Missing(names, lacking);
    auto reported = [&](const std::string& start) {
        return std::any_of(missing.begin(), missing.end(),
                           [&](const std::string& m) { return m.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(reported("tick.ogg"));
    EXPECT_TRUE(reported("goal[0-9]+\\.tga"));
    for (const std::string& name : missing)
        EXPECT_TRUE(name.rfind("tick", 0) == 0 || name.rfind("goal", 0) == 0) << name;
}

}  // namespace
