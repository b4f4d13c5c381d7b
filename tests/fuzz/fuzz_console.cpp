// Fuzz target: whole console sessions. The input holds up to three base files (rules, models,
// constraints) and a console script, separated by lines "#####"; the script loads the bases and
// runs both inferences with whatever answers the fuzzer chose.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_work_dir.h"
#include "kb/files.h"
#include "ui/console/console_app.h"

namespace {

// The fuzzer types paths too: every write and deletion is kept inside the work directory.
class ConfinedFileOps : public xamo::FileOps {
  public:
    explicit ConfinedFileOps(std::filesystem::path root) : root_(std::move(root)) {}
    std::FILE* create_new(const std::string& path, unsigned mode) override {
        return inside(path) ? FileOps::create_new(path, mode) : nullptr;
    }
    std::FILE* open_for_rewrite(const std::string& path) override {
        return inside(path) ? FileOps::open_for_rewrite(path) : nullptr;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return inside(from) && inside(to) && FileOps::rename(from, to);
    }
    bool remove(const std::string& path) override { return inside(path) && FileOps::remove(path); }

  private:
    bool inside(const std::string& path) const {
        std::error_code ec;
        const auto full =
            std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
        if (ec) return false;
        const auto relative = full.lexically_relative(root_);
        return !relative.empty() && *relative.begin() != "..";
    }
    std::filesystem::path root_;
};

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(separator, start)) != std::string::npos;) {
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = split(std::string(reinterpret_cast<const char*>(data), size), "\n#####\n");
    const auto& dir = xamo::fuzzing::work_directory("console");
    // The loads change the current directory; the engine reads and writes its corpus relative
    // to the one it started in.
    static const std::filesystem::path started_in = std::filesystem::current_path();
    const char* names[] = {"REf.BRD", "MOf.BRD", "OGf.BRD"};
    for (std::size_t i = 0; i < 3; ++i) {
        std::filesystem::remove(dir / names[i]);
        if (i + 1 < parts.size()) std::ofstream(dir / names[i], std::ios::binary) << parts[i];
    }
    std::filesystem::current_path(dir);
    static ConfinedFileOps confined(std::filesystem::weakly_canonical(dir));
    xamo::ScopedFileOps scope(confined);
    std::istringstream script(parts.back());
    std::ostringstream transcript;
    xamo::run_console(script, transcript, true);
    std::filesystem::current_path(started_in);
    // XAMO_FUZZ_SHOW=1 prints the transcript, to see what a corpus input does.
    if (const char* show = std::getenv("XAMO_FUZZ_SHOW"); show && *show == '1') {
        std::fputs(transcript.str().c_str(), stderr);
    }
    return 0;
}
