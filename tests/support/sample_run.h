// A finished inference run, for the tests of the summary.
#pragma once

#include <string>
#include <utility>

#include "inference/memory.h"
#include "kb/facts.h"

namespace xamo::testing {

inline InferenceMemory sample_run(FactStore& store, const std::string& detail) {
    InferenceMemory memory;
    memory.etykieta = {"pacjent 1", "wizyta domowa"};
    memory.szczegolowosc = detail;
    store.add(make_rule(1, "grypa", {"gorączka"}, 1));
    store.add(make_rule(0, "gorączka", {"bez warunku"}, 1));
    store.add(make_rule(0, "nkaszel", {"bez warunku"}, 1));
    for (const auto& [n, c] : {std::pair<int, const char*>{0, "bez warunku"},
                               {0, "gorączka"},
                               {1, "grypa"},
                               {2, "koniec"}}) {
        memory.rbd.add(n, c);
    }
    memory.rbd_wstecz = {"nkoniec", "zapalenie"};
    memory.zmienna_ustalona.set("temperatura", 38.5);
    memory.zmienna_ustalona.set("wiek", 42);
    return memory;
}

}  // namespace xamo::testing
