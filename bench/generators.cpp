#include "generators.h"

#include <algorithm>

#include "kb/codec.h"

namespace xamo::bench {

std::string generate_rule_base(int rules) {
    std::string text;
    text.reserve(static_cast<std::size_t>(rules) * 90);
    text += "rem_reguła(\"baza wygenerowana: zażółć gęślą jaźń\")\r\n";
    unsigned state = 12345;
    const auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % 5000;
    };
    for (int i = 1; i <= rules; ++i) {
        text += "reguła(" + std::to_string(i) + ",\"wniosek_źródłowy_" + std::to_string(i) + "\",[";
        const int conditions = 3 + i % 3;
        for (int c = 0; c < conditions; ++c) {
            if (c) text += ',';
            if (c == 0 && i > 10) {
                text += "\"wniosek_źródłowy_" + std::to_string(i - 10) + "\"";
            } else {
                text += (c % 2 ? "\"nwarunek_ąęłńóśźż_" : "\"warunek_ąęłńóśźż_") +
                        std::to_string(next()) + "\"";
            }
        }
        text += "]," + std::to_string(i % 2) + ")\r\n";
    }
    return *utf8_to_cp1250(text);
}

std::optional<Shape> shape_named(const std::string& name) {
    if (name == "chain") return Shape::Chain;
    if (name == "reversed") return Shape::Reversed;
    if (name == "wide") return Shape::Wide;
    return std::nullopt;
}

std::string generate_shaped_base(Shape shape, int rules, int display) {
    std::string text;
    text.reserve(static_cast<std::size_t>(rules) * (shape == Shape::Wide ? 120 : 50));
    const std::string semaphore = std::to_string(display);
    const auto rule = [&](int i) {
        const std::string n = std::to_string(i);
        if (shape == Shape::Wide) {
            text += "reguła(" + n + ",\"w_" + n + "\",[\"a_" + n + "\",\"b_" + n + "\",\"c_" + n +
                    "\"]," + semaphore + ")\r\n";
        } else {
            text += "reguła(" + n + ",\"c_" + n + "\",[\"c_" + std::to_string(i - 1) +
                    "\",\"g\"]," + semaphore + ")\r\n";
        }
    };
    if (shape == Shape::Wide) {
        for (int i = 1; i <= rules; ++i) {
            const std::string n = std::to_string(i);
            text += "fakt(\"a_" + n + "\")\r\nfakt(\"b_" + n + "\")\r\nfakt(\"c_" + n + "\")\r\n";
        }
    } else {
        text += "fakt(\"c_0\")\r\nfakt(\"g\")\r\n";
    }
    if (shape == Shape::Reversed) {
        for (int i = rules; i >= 1; --i) rule(i);
    } else {
        for (int i = 1; i <= rules; ++i) rule(i);
    }
    return *utf8_to_cp1250(text);
}

std::vector<GeneratedRule> generate_layered_rules(int rules, int layers) {
    unsigned state = 2024;
    const auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % n;
    };
    const int atoms = 60;
    const auto atom = [](unsigned i) { return "objaw_ąę_" + std::to_string(i); };
    // Layer k gets a share k of the rules, two rules per conclusion.
    const int shares = layers * (layers + 1) / 2;
    std::vector<GeneratedRule> out;
    std::vector<std::string> below;
    int number = 1;
    for (int layer = 1; layer <= layers; ++layer) {
        const int conclusions = std::max(1, rules * layer / shares / 2);
        std::vector<std::string> made;
        for (int c = 0; c < conclusions; ++c) {
            const std::string conclusion =
                "wniosek_" + std::to_string(layer) + "_" + std::to_string(c);
            std::vector<std::string> first;
            if (!below.empty()) {
                std::string inner = below[next(static_cast<unsigned>(below.size()))];
                if (next(16) == 0) inner = "n" + inner;
                first.push_back(inner);
            } else {
                first.push_back(atom(next(atoms)));
            }
            first.push_back(atom(next(atoms)));
            first.push_back(next(4) == 0 ? "n" + atom(next(atoms)) : atom(next(atoms)));
            if (next(50) == 0) first.push_back("n" + first[1]);
            std::vector<std::string> second = first;
            if (next(4) == 0) {
                second.pop_back();  // contained in the first: redundant
            } else {
                second[1] = atom(next(atoms));
                second[2] = atom(next(atoms));
            }
            out.push_back({number++, conclusion, first});
            out.push_back({number++, conclusion, second});
            made.push_back(conclusion);
        }
        below = std::move(made);
    }
    return out;
}

std::string layered_rule_base(const std::vector<GeneratedRule>& rules) {
    std::string text;
    for (const auto& rule : rules) {
        text += "reguła(" + std::to_string(rule.number) + ",\"" + rule.conclusion + "\",[";
        for (std::size_t i = 0; i < rule.conditions.size(); ++i) {
            if (i) text += ',';
            text += "\"" + rule.conditions[i] + "\"";
        }
        text += "],1)\r\n";
    }
    return *utf8_to_cp1250(text);
}

std::string last_conclusion(Shape shape, int rules) {
    return (shape == Shape::Wide ? "w_" : "c_") + std::to_string(rules);
}

std::vector<GeneratedRule> generate_chain_rules(int length, ChainShape shape) {
    const auto name = [](const char* prefix, int i) { return prefix + std::to_string(i); };
    std::vector<GeneratedRule> out;
    int number = 1;
    for (int i = 1; i <= length; ++i) {
        std::vector<std::string> conditions{name("c_", i + 1), name("a_", i)};
        if (shape == ChainShape::Negated && i % 3 == 0) {
            for (auto& c : conditions) c.insert(0, "n");
        }
        const bool branch = shape == ChainShape::Branched && i % 10 == 0;
        if (branch) conditions.push_back(name("d_", i));
        out.push_back({number++, name("c_", i), std::move(conditions)});
        if (branch) out.push_back({number++, name("d_", i), {name("c_", i + 2), name("e_", i)}});
        if (shape == ChainShape::Alternatives) {
            out.push_back({number++, name("c_", i), {name("c_", i + 1), name("b_", i)}});
        }
    }
    return out;
}

}  // namespace xamo::bench
