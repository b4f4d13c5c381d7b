// Compares a transcript with a file under tests/data/golden; XAMO_UPDATE_GOLDEN=1 rewrites it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace xamo {

inline void expect_golden(const std::string& name, std::string actual,
                          const std::string& temp_dir) {
    for (std::size_t at; (at = actual.find(temp_dir)) != std::string::npos;) {
        actual.replace(at, temp_dir.size(), "<KATALOG>");
    }
    const std::string path = std::string(XAMO_TEST_DATA) + "/golden/" + name;
    const char* update = std::getenv("XAMO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden file " << path;
    const std::string expected{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    EXPECT_EQ(actual, expected) << "golden file " << path;
}

}  // namespace xamo
