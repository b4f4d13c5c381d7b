#include "ui/console/replay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace xamo {
namespace {

namespace fs = std::filesystem;

class ReplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("xamo_replay_test_" + std::to_string(::getpid()));
        fs::create_directories(root_ / "baza");
        fs::create_directories(root_ / "ofiara");
        write(root_ / "ofiara" / "notatki.txt", "ważne\n");
        write(root_ / "ofiara" / "inny.txt", "też ważne\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    static void write(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path root_;
};

// A script that deletes a file by its absolute path outside the directory and creates a base
// over "../ofiara/notatki.txt" fails naming both paths (the latter resolved from the copy, or
// from the directory itself in place), and neither file is touched, in a copy
// and in place alike; in a copy, the base created inside the directory is gone afterwards.
TEST_F(ReplayTest, StepsOutsideTheDirectoryFailTheReplayAndChangeNothing) {
    const std::string outside = (root_ / "ofiara" / "inny.txt").string();
    write(root_ / "skrypt.skr", "10066\n" + outside + "\ntak\n10065\n../ofiara/notatki.txt\nnie\n" +
                                    "10065\nREnowa.BRD\nnie\n");
    for (const bool in_place : {false, true}) {
        ReplayOptions options{(root_ / "skrypt.skr").string(), std::nullopt,
                              (root_ / "baza").string(), in_place, false};
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(run_replay(options, out, err), kReplayDiffers);
        EXPECT_NE(out.str().find("Odtwarzanie sięga poza swój katalog: " + outside),
                  std::string::npos);
        EXPECT_NE(out.str().find("ofiara/notatki.txt\n"), std::string::npos);
        EXPECT_EQ(read(root_ / "ofiara" / "notatki.txt"), "ważne\n");
        EXPECT_EQ(read(root_ / "ofiara" / "inny.txt"), "też ważne\n");
        EXPECT_EQ(fs::exists(root_ / "baza" / "REnowa.BRD"), in_place);
    }
}

// Errors name their cause on the error stream: an unreadable script and a missing directory
// are unreadable input, not a usage error.
TEST_F(ReplayTest, UnreadableInputGoesToTheErrorStreamWithItsOwnExitCode) {
    std::ostringstream out;
    std::ostringstream err;
    ReplayOptions missing{(root_ / "brak.skr").string(), std::nullopt, std::nullopt, false, false};
    EXPECT_EQ(run_replay(missing, out, err), kReplayUnreadable);
    write(root_ / "skrypt.skr", "10058\n");
    ReplayOptions no_directory{(root_ / "skrypt.skr").string(), std::nullopt,
                               (root_ / "nie_ma").string(), false, false};
    EXPECT_EQ(run_replay(no_directory, out, err), kReplayUnreadable);
    // A directory holding the temporary one cannot be copied into it.
    fs::create_directories(root_ / "baza" / "tmp");
    const char* previous = std::getenv("TMPDIR");
    const std::string kept = previous ? previous : "";
    ::setenv("TMPDIR", (root_ / "baza" / "tmp").c_str(), 1);
    ReplayOptions around_temporary{(root_ / "skrypt.skr").string(), std::nullopt,
                                   (root_ / "baza").string(), false, false};
    EXPECT_EQ(run_replay(around_temporary, out, err), kReplayUnreadable);
    previous ? ::setenv("TMPDIR", kept.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("--in-place"), std::string::npos);
    EXPECT_NE(err.str().find("brak.skr"), std::string::npos);
    EXPECT_NE(err.str().find("nie_ma"), std::string::npos);
}

}  // namespace
}  // namespace xamo
