// The layering check: every #include "..." of a source tree against the table of layers.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace xamo::layering {

struct Layer {
    std::set<std::string> may_include;  // folders below it
    bool toolkit = false;               // may include Qt, SDL and ODBC headers
};

// "folder: lower folders [toolkit]" per line; '#' starts a comment. Throws on a malformed line.
std::map<std::string, Layer> parse_layers(const std::string& text);

struct Violation {
    std::string file;  // relative to the source root
    int line = 0;
    std::string text;  // the include line
    std::string why;
};

// The layer of a source file: the longest folder of the table its path starts with ("ui/qt" for
// "ui/qt/dialogs.cpp"); files directly under the root belong to "main".
std::string layer_of(const std::map<std::string, Layer>& layers, const std::string& relative_path);

// Checks one file's text; `relative_path` names it in the violations.
std::vector<Violation> check_file(const std::map<std::string, Layer>& layers,
                                  const std::string& relative_path, const std::string& text);

// Checks every .h and .cpp file under `root`.
std::vector<Violation> check_tree(const std::map<std::string, Layer>& layers,
                                  const std::string& root);

}  // namespace xamo::layering
