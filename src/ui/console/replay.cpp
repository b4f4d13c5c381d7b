#include "ui/console/replay.h"

#include <stdlib.h>

#include <filesystem>
#include <ostream>
#include <sstream>

#include "app/consultation_commands.h"
#include "dialog/recording_interaction.h"
#include "kb/codec.h"
#include "kb/files.h"
#include "regression/transcript_diff.h"
#include "ui/console/console_app.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> read_input(const std::string& path, std::ostream& err) {
    std::string bytes;
    const FileResult read = read_file_bytes(path, bytes);
    if (!read.ok) {
        err << "Nie można odczytać pliku " << path << ": " << read.error << "\n";
        return std::nullopt;
    }
    return bytes;
}

// The directory to replay in: as given, else as the script names it (relative to the script's
// folder), else the current one.
fs::path replay_directory(const ReplayOptions& options, const std::string& script) {
    if (options.directory) return fs::path(*options.directory);
    const auto named = script_directory(script);
    if (!named) return fs::current_path();
    const fs::path directory(*named);
    if (directory.is_absolute()) return directory;
    return fs::path(options.script).parent_path() / directory;
}

// A fresh directory under the system's temporary one, removed when this ends.
class ScratchCopy {
  public:
    explicit ScratchCopy(const fs::path& source) {
        std::error_code ec;
        const fs::path temporary = fs::weakly_canonical(fs::temp_directory_path(ec), ec);
        const fs::path relative = temporary.lexically_relative(fs::weakly_canonical(source, ec));
        // A copy into itself would never end.
        if (ec || (!relative.empty() && *relative.begin() != "..")) return;
        std::string name = (temporary / "xamo_replay_XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) return;
        path_ = name;
        fs::copy(source, path_, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
        copied_ = !ec;
    }
    ~ScratchCopy() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;
    bool ok() const { return copied_; }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
    bool copied_ = false;
};

struct ReplayRun {
    std::string transcript;  // paths below the directory relative to it
    std::optional<QuestionMismatch> mismatch;
    std::vector<std::string> outside;  // paths a step would have changed outside the directory
};

ReplayRun replay_in(const fs::path& directory, const std::string& script) {
    ReplayRun run;
    std::error_code ec;
    const fs::path previous = fs::current_path(ec);
    fs::current_path(directory, ec);
    const std::string home = fs::current_path(ec).string();
    std::ostringstream transcript;
    {
        WriteConfinement confinement(home);
        std::istringstream in(script);
        run_console(in, transcript, true, &run.mismatch);
        run.outside = confinement.refused();
    }
    fs::current_path(previous, ec);
    run.transcript = relative_paths(transcript.str(), home);
    return run;
}

// Reports what makes the run fail apart from the transcript.
void report_run_faults(const ReplayRun& run, std::ostream& out) {
    for (const auto& path : run.outside)
        out << "Odtwarzanie sięga poza swój katalog: " << path << "\n";
    if (run.mismatch) {
        out << "Pytanie różni się od zapisanego w skrypcie:\n  zapisane: " << run.mismatch->recorded
            << "\n  zadane:   " << run.mismatch->asked << "\n";
    }
}

int compare(const ReplayOptions& options, const ReplayRun& run, const std::string& stored,
            std::ostream& out, std::ostream& err) {
    const TranscriptDiff diff =
        diff_lines(transcript_lines(stored), transcript_lines(run.transcript));
    if (options.update) {
        const FileResult written = write_file_replacing(*options.expected, run.transcript);
        if (!written.ok) {
            err << written.error << "\n";
            return kReplayUnreadable;
        }
        out << "Zapisano nowy przebieg w pliku " << *options.expected
            << " (różniących się wierszy: " << diff.differing_lines << ").\n";
        return kReplaySame;
    }
    if (diff.empty()) {
        out << "Przebieg zgodny z zapisanym (wierszy: " << transcript_lines(run.transcript).size()
            << ").\n";
        return kReplaySame;
    }
    out << format_diff(diff);
    return kReplayDiffers;
}

}  // namespace

int run_replay(const ReplayOptions& options, std::ostream& out, std::ostream& err) {
    const auto bytes = read_input(options.script, err);
    if (!bytes) return kReplayUnreadable;
    std::string script = utf8_from_either(*bytes);
    if (script.rfind("\xEF\xBB\xBF", 0) == 0) script.erase(0, 3);
    std::optional<std::string> stored;
    if (options.expected && options.update) {
        // A transcript stored for the first time has nothing before it.
        std::string bytes;
        if (read_file_bytes(*options.expected, bytes).ok) stored = std::move(bytes);
    } else if (options.expected) {
        stored = read_input(*options.expected, err);
        if (!stored) return kReplayUnreadable;
    }
    const fs::path directory = replay_directory(options, script);
    std::error_code ec;
    if (!fs::is_directory(directory, ec)) {
        err << "Nie ma katalogu " << directory.string() << ".\n";
        return kReplayUnreadable;
    }
    ReplayRun run;
    if (options.in_place) {
        run = replay_in(directory, script);
    } else {
        const ScratchCopy copy(directory);
        if (!copy.ok()) {
            err << "Nie można skopiować katalogu " << directory.string()
                << " do katalogu tymczasowego (odtwórz z --in-place).\n";
            return kReplayUnreadable;
        }
        run = replay_in(copy.path(), script);
    }
    const bool faulty = !run.outside.empty() || run.mismatch.has_value();
    int status = faulty ? kReplayDiffers : kReplaySame;
    if (!options.expected) {
        out << run.transcript;
    } else if (faulty && options.update) {
        out << "Przebieg nie został zapisany: skrypt nie pasuje już do bazy.\n";
    } else {
        const int compared = compare(options, run, stored.value_or(""), out, err);
        if (compared != kReplaySame) status = compared;
    }
    // Last, where a CI log ends: what stopped the run.
    report_run_faults(run, out);
    return status;
}

}  // namespace xamo
