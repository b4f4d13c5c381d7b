// Whole-file reading and safe replacing writes. Paths are UTF-8; contents are raw bytes.
//
// Every file the program writes goes through write_file_replacing, whose low-level steps are the
// virtual operations of FileOps, so that tests can make any one of them fail (ScopedFileOps).
// A replacing write:
//   target    - a symbolic link is followed to the file it names, which a dangling link makes
//               (resolve_target); a loop of links is refused as such;
//   refusal   - a directory, a device, a FIFO, a socket or a file the user may not write is never
//               replaced;
//   temporary - the new bytes go to a file with a short unpredictable name in the target's
//               directory, created exclusively (an existing name or a planted link makes it fail)
//               with the replaced file's permissions, and synced to the disk;
//   replace   - renamed over the target, then the directory is synced; a file with several hard
//               links is rewritten in place instead, so the links stay one file, and its old
//               bytes are put back on a failure.
// A name holding a NUL byte is refused: the system would act on the name before it.
// Any failure removes the temporary file, leaves the old file as it was and is reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xamo {

struct FileResult {
    bool ok = false;
    std::string error;  // Polish, for a note, when !ok
};

// Base files, reports and every other file read whole: larger ones are refused.
inline constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;  // 1 GB

// Reads the whole file; refuses a missing file, a directory, anything that is not a regular
// file (a FIFO is never opened, so it cannot block) and a file over `limit` bytes.
FileResult read_file_bytes(const std::string& path, std::string& bytes,
                           std::uintmax_t limit = kMaxFileBytes);
// Reads the file with the same checks, handing `take` one piece after another in file order
// (never the whole file at once); `take` returns false to stop reading, which is no error.
FileResult read_file_pieces(const std::string& path,
                            const std::function<bool(std::string_view)>& take,
                            std::uintmax_t limit = kMaxFileBytes);
// Replaces the file at `path` by `bytes` as described above.
FileResult write_file_replacing(const std::string& path, const std::string& bytes);
// Writes UTF-8 text as Windows-1250; a character it cannot hold refuses the whole write.
FileResult write_text_file(const std::string& path, const std::string& utf8_text);

// Deletes a regular file (never a directory, a device or what a link points at) whose name fits
// `mask` ("RE*.BRD", letter case aside).
FileResult delete_file(const std::string& path, const std::string& mask);

// A file name against a dialog mask: '*' and '?' wildcards, letter case aside, "*.*" fits all.
bool name_fits_mask(const std::string& name, const std::string& mask);

// While one lives, files are written and deleted only below `directory`: a replayed consultation
// must not reach outside its copy of the knowledge base. A refused path is kept, so the caller
// can fail the run naming it. One at a time, by the thread that runs the program.
class WriteConfinement {
  public:
    explicit WriteConfinement(const std::string& directory);
    ~WriteConfinement();
    WriteConfinement(const WriteConfinement&) = delete;
    WriteConfinement& operator=(const WriteConfinement&) = delete;

    const std::vector<std::string>& refused() const { return refused_; }

    // A note refusing the change of `path`, or nothing when it lies inside the directory.
    std::optional<std::string> refuse(const std::string& path, bool follow_link);

  private:
    std::string root_;
    std::vector<std::string> refused_;
};

std::string file_name_of(const std::string& path);
std::string directory_of(const std::string& path);

// The low-level steps of a write. Each returns false (or null) on failure with errno set where the
// system sets it.
class FileOps {
  public:
    virtual ~FileOps() = default;
    // Creates a new file for writing with `mode` (less the umask); fails when the name exists,
    // even as a dangling link.
    virtual std::FILE* create_new(const std::string& path, unsigned mode);
    // Opens an existing file for rewriting from its start (truncating it).
    virtual std::FILE* open_for_rewrite(const std::string& path);
    virtual bool write(std::FILE* file, const char* data, std::size_t size);
    // Pushes the written bytes out of the program's buffers.
    virtual bool flush(std::FILE* file);
    // Pushes the flushed bytes to the disk.
    virtual bool sync(std::FILE* file);
    virtual bool close(std::FILE* file);
    virtual bool rename(const std::string& from, const std::string& to);
    virtual bool remove(const std::string& path);
    virtual bool sync_directory(const std::string& path);
};

// The operations in use.
FileOps& file_ops();

// Puts `ops` in use for as long as it lives (tests inject write faults with it).
class ScopedFileOps {
  public:
    explicit ScopedFileOps(FileOps& ops);
    ~ScopedFileOps();
    ScopedFileOps(const ScopedFileOps&) = delete;
    ScopedFileOps& operator=(const ScopedFileOps&) = delete;

  private:
    FileOps* previous_;
};

}  // namespace xamo
