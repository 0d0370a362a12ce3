#include "Manifest.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assetgen {

bool ManifestRow::Has(const std::string& flag) const {
    for (const std::string& c : checks)
        if (c == flag) return true;
    return false;
}

std::string ManifestRow::Value(const std::string& key) const {
    for (const std::string& c : checks)
        if (c.size() > key.size() && c.compare(0, key.size(), key) == 0 && c[key.size()] == '=')
            return c.substr(key.size() + 1);
    return {};
}

std::string ManifestRow::Title() const {
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::vector<ManifestRow> ReadManifest(const std::string& fileName) {
    std::ifstream in(fileName);
    if (!in) throw std::runtime_error("cannot read the manifest " + fileName);
    std::vector<ManifestRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> fields = SplitList(line, '\t');
        if (fields.size() < 2) throw std::runtime_error("bad manifest row: " + line);
        ManifestRow row{fields[0], fields[1], {}};
        if (fields.size() > 2) row.checks = SplitList(fields[2], ' ');
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace assetgen
