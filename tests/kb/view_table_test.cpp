// The table of views against a hash map, through growth, many near-equal texts, a text moved
// elsewhere and clearing.
#include "kb/view_table.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <unordered_map>

namespace xamo {
namespace {

TEST(ViewTable, NumbersTextsInTheOrderTheyCameAsAMapWould) {
    std::deque<std::string> texts;  // kept in place, as the table requires
    std::unordered_map<std::string, std::uint32_t> reference;
    ViewTable table;
    std::mt19937 random(7);
    for (int step = 0; step < 200000; ++step) {
        // Few distinct lengths, many shared prefixes: hashes and texts are both compared.
        std::string text = "warunek_";
        text += std::to_string(random() % 50000);
        if (random() % 2 == 0) {
            texts.push_back(text);
            const auto [number, added] = table.insert(texts.back());
            const auto [it, expected_added] =
                reference.try_emplace(text, static_cast<std::uint32_t>(reference.size()));
            ASSERT_EQ(added, expected_added) << text;
            ASSERT_EQ(number, it->second) << text;
            ASSERT_EQ(table.text(number), text);
        } else {
            const auto it = reference.find(text);
            ASSERT_EQ(table.find(text), it == reference.end() ? ViewTable::npos : it->second)
                << text;
        }
    }
    EXPECT_EQ(table.size(), reference.size());
    EXPECT_FALSE(table.contains(""));
    EXPECT_FALSE(table.contains("warunek_"));

    // A member pointed at another copy of its text is still found by it.
    const std::uint32_t number = table.find("warunek_7");
    ASSERT_NE(number, ViewTable::npos);
    texts.push_back("warunek_7");
    table.retarget(number, texts.back());
    EXPECT_EQ(table.text(number).data(), texts.back().data());
    EXPECT_EQ(table.find("warunek_7"), number);

    // Made to fit (placed again without reading texts), every member keeps its number.
    ViewTable large(1 << 20);
    std::unordered_map<std::string, std::uint32_t> numbers;
    for (const auto& [text, n] : reference) numbers[text] = large.insert(table.text(n)).first;
    large.shrink_to_fit();
    for (const auto& [text, n] : numbers) ASSERT_EQ(large.find(text), n) << text;
    EXPECT_EQ(large.find("warunek_"), ViewTable::npos);

    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_FALSE(table.contains("warunek_7"));
    EXPECT_EQ(table.insert("nowy"), (std::pair<std::uint32_t, bool>{0, true}));
}

}  // namespace
}  // namespace xamo
