#include "layering/layer_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace xamo::layering {
namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool starts_with_folder(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

// Headers of the toolkits the core must not see.
bool is_toolkit_header(const std::string& name) {
    return name.rfind("Q", 0) == 0 || name.rfind("SDL", 0) == 0 || name.rfind("sql", 0) == 0 ||
           name.rfind("odbc", 0) == 0;
}

// The target of an include directive, with its delimiter: "\"kb/facts.h\"" or "<QWidget>".
std::optional<std::string> include_target(const std::string& line) {
    const std::string text = trim(line);
    if (text.rfind("#", 0) != 0) return std::nullopt;
    const std::string directive = trim(text.substr(1));
    if (directive.rfind("include", 0) != 0) return std::nullopt;
    return trim(directive.substr(7));
}

}  // namespace

std::map<std::string, Layer> parse_layers(const std::string& text) {
    std::map<std::string, Layer> layers;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos || colon == 0) {
            throw std::runtime_error("layer table line " + std::to_string(number) + ": no folder");
        }
        Layer layer;
        std::istringstream below(line.substr(colon + 1));
        for (std::string word; below >> word;) {
            if (word == "toolkit")
                layer.toolkit = true;
            else
                layer.may_include.insert(word);
        }
        layers[trim(line.substr(0, colon))] = layer;
    }
    for (const auto& [name, layer] : layers) {
        for (const auto& lower : layer.may_include) {
            if (!layers.count(lower)) {
                throw std::runtime_error("layer " + name + " names an unknown layer " + lower);
            }
        }
    }
    return layers;
}

std::string layer_of(const std::map<std::string, Layer>& layers, const std::string& relative_path) {
    std::string best;
    for (const auto& [name, layer] : layers) {
        if (starts_with_folder(relative_path, name) && name.size() > best.size()) best = name;
    }
    if (best.empty() && relative_path.find('/') == std::string::npos) return "main";
    return best;
}

std::vector<Violation> check_file(const std::map<std::string, Layer>& layers,
                                  const std::string& relative_path, const std::string& text) {
    std::vector<Violation> found;
    const std::string own = layer_of(layers, relative_path);
    const auto entry = layers.find(own);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const auto target = include_target(line);
        if (!target || target->size() < 2) continue;
        const std::string name = target->substr(1, target->find_first_of("\">", 1) - 1);
        if (entry == layers.end()) {
            found.push_back({relative_path, number, trim(line), "the file is in no layer"});
            continue;
        }
        if (target->front() == '<') {
            if (is_toolkit_header(name) && !entry->second.toolkit) {
                found.push_back({relative_path, number, trim(line),
                                 "layer " + own + " may not include toolkit headers"});
            }
            continue;
        }
        const std::string included = layer_of(layers, name);
        if (included == own || entry->second.may_include.count(included)) continue;
        found.push_back({relative_path, number, trim(line),
                         "layer " + own + " may not include " +
                             (included.empty() ? std::string("a file outside the layers")
                                               : "layer " + included)});
    }
    return found;
}

std::vector<Violation> check_tree(const std::map<std::string, Layer>& layers,
                                  const std::string& root) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp"))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<Violation> found;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        const std::string relative = std::filesystem::relative(path, root).generic_string();
        for (auto& v : check_file(layers, relative, text)) found.push_back(std::move(v));
    }
    return found;
}

}  // namespace xamo::layering
