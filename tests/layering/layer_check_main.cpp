// xamo_layer_check LAYERS_FILE SOURCE_ROOT: prints every include the layer table forbids, as
// "file:line: include: reason", and exits 1 when there is one.
#include <fstream>
#include <iostream>

#include "layering/layer_check.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: xamo_layer_check LAYERS_FILE SOURCE_ROOT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 2;
    }
    const std::string table{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    try {
        const auto violations =
            xamo::layering::check_tree(xamo::layering::parse_layers(table), argv[2]);
        for (const auto& v : violations) {
            std::cout << v.file << ":" << v.line << ": " << v.text << ": " << v.why << "\n";
        }
        return violations.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
}
