#include "kb/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/faulty_file_ops.h"
#include "support/temp_dir.h"

namespace xamo {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileOps;
using Fault = FaultyFileOps::Fault;

// Only the named files are left in the directory: no temporary file survives a write.
std::vector<std::string> names_in(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplacingWrite, LinksModesAndHardLinksAreKept) {
    testing::TempDir dir;
    const std::string target = dir.write("raport.RPT", "stary");
    fs::create_symlink(target, dir.file("link.RPT"));
    ASSERT_TRUE(write_file_replacing(dir.file("link.RPT"), "przez dowiązanie").ok);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.RPT")));
    EXPECT_EQ(dir.read("raport.RPT"), "przez dowiązanie");

    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(write_file_replacing(target, "prywatny").ok);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::create_hard_link(target, dir.file("drugi.RPT"));
    ASSERT_TRUE(write_file_replacing(target, "wspólny").ok);
    EXPECT_EQ(fs::hard_link_count(target), 2u);
    EXPECT_EQ(dir.read("drugi.RPT"), "wspólny");
    EXPECT_EQ(names_in(dir.path()),
              (std::vector<std::string>{"drugi.RPT", "link.RPT", "raport.RPT"}));
}

TEST(ReplacingWrite, SpecialAndReadOnlyFilesAreRefusedByName) {
    testing::TempDir dir;
    const std::string read_only = dir.write("tylko.txt", "nie ruszać");
    fs::permissions(read_only,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto result = write_file_replacing(read_only, "nowy");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("tylko.txt jest tylko do odczytu"), std::string::npos);
    EXPECT_EQ(dir.read("tylko.txt"), "nie ruszać");

    ASSERT_EQ(::mkfifo(dir.file("potok").c_str(), 0600), 0);
    result = write_file_replacing(dir.file("potok"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("nie jest zwykłym plikiem"), std::string::npos);
    EXPECT_EQ(fs::status(dir.file("potok")).type(), fs::file_type::fifo);

    fs::create_directory(dir.file("katalog"));
    EXPECT_NE(write_file_replacing(dir.file("katalog"), "x").error.find("jest katalogiem"),
              std::string::npos);
    fs::create_symlink("petla2", dir.file("petla1"));
    fs::create_symlink("petla1", dir.file("petla2"));
    EXPECT_NE(write_file_replacing(dir.file("petla1"), "x").error.find("pętlę dowiązań"),
              std::string::npos);
    std::string bytes;
    EXPECT_NE(read_file_bytes(dir.file("petla1"), bytes).error.find("pętlę dowiązań"),
              std::string::npos);
}

// Mode bits that let other users write do not make a file the user's: a file the user may not
// write is refused, as another user (nobody) when the tests run as root.
TEST(ReplacingWrite, AFileTheUserMayNotWriteIsRefused) {
    testing::TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const bool root = ::geteuid() == 0;
    const std::string target = dir.write("cudzy.RPT", "cudzy");
    ::chmod(target.c_str(), root ? 0644 : 0604);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (root && ::setuid(65534) != 0) ::_exit(2);
        const FileResult result = write_file_replacing(target, "nowy");
        ::_exit(!result.ok &&
                        result.error.find("Brak uprawnień do zapisu pliku") != std::string::npos
                    ? 0
                    : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(dir.read("cudzy.RPT"), "cudzy");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"cudzy.RPT"});
}

// A dangling link makes its target, the longest name the file system takes can be written, and
// the temporary file is never more open than the file it becomes, nor renamed before it is synced.
TEST(ReplacingWrite, DanglingLinksLongNamesAndTheTemporaryFilesLife) {
    testing::TempDir dir;
    fs::create_directory(dir.file("raporty"));
    fs::create_symlink("raporty/cel.RPT", dir.file("link.RPT"));
    ASSERT_TRUE(write_file_replacing(dir.file("link.RPT"), "nowy cel").ok);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.RPT")));
    EXPECT_EQ(dir.read("raporty/cel.RPT"), "nowy cel");

    const std::string longest = "RE" + std::string(249, 'x') + ".BRD";
    ASSERT_EQ(longest.size(), 255u);
    ASSERT_TRUE(write_file_replacing(dir.file(longest), "fakt(\"a\")").ok);
    EXPECT_EQ(dir.read(longest), "fakt(\"a\")");

    struct Watching : FileOps {
        std::vector<std::string> steps;
        unsigned mode_while_written = 0;
        bool write(std::FILE* file, const char* data, std::size_t size) override {
            struct stat info {};
            ::fstat(::fileno(file), &info);
            mode_while_written = info.st_mode & 07777;
            steps.push_back("write");
            return FileOps::write(file, data, size);
        }
        bool sync(std::FILE* file) override {
            steps.push_back("sync");
            return FileOps::sync(file);
        }
        bool rename(const std::string& from, const std::string& to) override {
            steps.push_back("rename");
            return FileOps::rename(from, to);
        }
        bool sync_directory(const std::string& path) override {
            steps.push_back("sync directory");
            return FileOps::sync_directory(path);
        }
    } watching;
    const std::string secret = dir.write("tajny.RPT", "stary");
    fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
    ScopedFileOps scope(watching);
    ASSERT_TRUE(write_file_replacing(secret, "nowy").ok);
    EXPECT_EQ(watching.mode_while_written, 0600u);
    EXPECT_EQ(watching.steps,
              (std::vector<std::string>{"write", "sync", "rename", "sync directory"}));
}

TEST(Deleting, OnlyFilesFittingTheMaskOfTheirKind) {
    testing::TempDir dir;
    const std::string other = dir.write("notatki.txt", "cudze");
    const auto refused = delete_file(other, "RE*.BRD");
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.error.find("nie pasuje do wzorca RE*.BRD"), std::string::npos);
    EXPECT_TRUE(fs::exists(other));
    EXPECT_TRUE(delete_file(dir.write("re_stara.brd", ""), "RE*.BRD").ok);
    EXPECT_TRUE(delete_file(dir.write("DŹgrypa.BRD", ""), "dź*.brd").ok);
    EXPECT_FALSE(delete_file(dir.write("MOx.BRD", ""), "RE*.BRD").ok);
    EXPECT_FALSE(delete_file(dir.write("RE.BRD.bak", ""), "RE*.BRD").ok);
    EXPECT_TRUE(delete_file(dir.write("a.b.rpt", ""), "*.rpt").ok);
    EXPECT_EQ(names_in(dir.path()),
              (std::vector<std::string>{"MOx.BRD", "RE.BRD.bak", "notatki.txt"}));
}

TEST(ReplacingWrite, TemporaryFileNeverFollowsAPlantedLink) {
    testing::TempDir dir;
    const std::string victim = dir.write("ofiara.txt", "cudzy plik");
    const std::string target = dir.write("raport.RPT", "stary");
    // The name a predictable scheme would use, and a dangling link where a new file would go.
    fs::create_symlink(victim, target + ".tmp~");
    fs::create_symlink(dir.file("nowy_cel"), dir.file("pułapka"));
    FileOps ops;
    EXPECT_EQ(ops.create_new(dir.file("pułapka"), 0600), nullptr);
    EXPECT_FALSE(fs::exists(dir.file("nowy_cel")));
    ASSERT_TRUE(write_file_replacing(target, "nowy").ok);
    EXPECT_EQ(dir.read("ofiara.txt"), "cudzy plik");
    EXPECT_EQ(dir.read("raport.RPT"), "nowy");
}

TEST(ReplacingWrite, EveryFaultLeavesTheOldFileAndNoTemporary) {
    const struct {
        Fault fault;
        const char* says;
    } cases[] = {
        {Fault::Create, "Nie można utworzyć pliku"}, {Fault::NthWrite, "Błąd zapisu pliku"},
        {Fault::Flush, "Błąd zapisu pliku"},         {Fault::Close, "Błąd zapisu pliku"},
        {Fault::Rename, "Nie można zapisać pliku"},  {Fault::DiskFull, "Brak miejsca na dysku"},
    };
    for (const auto& c : cases) {
        testing::TempDir dir;
        const std::string target = dir.write("baza.BRD", "fakt(\"a\")\r\n");
        for (const std::string& path : {target, dir.file("nowy.BRD")}) {
            FaultyFileOps faulty(c.fault);
            ScopedFileOps scope(faulty);
            const auto result = write_file_replacing(path, std::string(64, 'x'));
            EXPECT_FALSE(result.ok) << c.says;
            EXPECT_NE(result.error.find(c.says), std::string::npos) << result.error;
        }
        EXPECT_EQ(dir.read("baza.BRD"), "fakt(\"a\")\r\n") << c.says;
        EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"baza.BRD"}) << c.says;
    }
    // A hard-linked file is rewritten in place; a failure there puts the old bytes back.
    testing::TempDir dir;
    const std::string target = dir.write("baza.BRD", "fakt(\"a\")\r\n");
    fs::create_hard_link(target, dir.file("kopia.BRD"));
    FaultyFileOps second_write_fails(Fault::NthWrite, 2);
    ScopedFileOps scope(second_write_fails);
    EXPECT_FALSE(write_file_replacing(target, std::string(64, 'x')).ok);
    EXPECT_EQ(second_write_fails.writes(), 3);  // temporary, in place, the old bytes back
    EXPECT_EQ(dir.read("kopia.BRD"), "fakt(\"a\")\r\n");
    EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"baza.BRD", "kopia.BRD"}));
}

TEST(WholeFileRead, SpecialHugeAndMissingFilesAreRefusedWithoutBlocking) {
    testing::TempDir dir;
    std::string bytes;
    ASSERT_EQ(::mkfifo(dir.file("potok.BRD").c_str(), 0600), 0);
    auto result = read_file_bytes(dir.file("potok.BRD"), bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("nie jest zwykłym plikiem"), std::string::npos);
    EXPECT_FALSE(read_file_bytes("/dev/zero", bytes).ok);

    const std::string big = dir.write("REduza.BRD", "");
    fs::resize_file(big, kMaxFileBytes + 1);  // sparse: nothing is written to the disk
    result = read_file_bytes(big, bytes);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("jest za duży (ponad 1024 MB)"), std::string::npos);
    EXPECT_TRUE(bytes.empty());

    dir.write("mala.BRD", std::string(5000, 'a'));
    EXPECT_FALSE(read_file_bytes(dir.file("mala.BRD"), bytes, 4096).ok);
    EXPECT_TRUE(read_file_bytes(dir.file("mala.BRD"), bytes).ok);
    EXPECT_EQ(bytes.size(), 5000u);
    EXPECT_FALSE(read_file_bytes(dir.file("brak.BRD"), bytes).ok);
}

}  // namespace
}  // namespace xamo
