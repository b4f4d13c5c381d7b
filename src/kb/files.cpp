#include "kb/files.h"

// The one core file that calls the system directly: the standard library cannot create a file
// with a given mode, ask whether the user may write a file, or push a file to the disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <system_error>

#include "kb/codec.h"

namespace fs = std::filesystem;

namespace xamo {
namespace {

FileOps& default_ops() {
    static FileOps ops;
    return ops;
}

FileOps* current_ops = nullptr;
WriteConfinement* confinement = nullptr;

// Why a write or delete of `path` is refused by the confinement in force, or nothing.
std::optional<std::string> confined(const std::string& path, bool follow_link) {
    return confinement ? confinement->refuse(path, follow_link) : std::nullopt;
}

// The reason of a failed write, in words a user can act on.
std::string write_failure(const std::string& path, int error) {
    switch (error) {
        case ENOSPC:
            return "Brak miejsca na dysku: plik " + path + " nie został zapisany.";
        case EFBIG:
            return "Przekroczony dopuszczalny rozmiar pliku: plik " + path +
                   " nie został zapisany.";
        case EACCES:
        case EPERM:
        case EROFS:
            return "Brak uprawnień do zapisu: plik " + path + " nie został zapisany.";
        default:
            return "Błąd zapisu pliku " + path + ".";
    }
}

// Links followed before a chain counts as a loop; the system's own limit for a path.
constexpr int kMaxLinkHops = 40;

// The file a write must change: a symbolic link is followed, through every link of a chain, also
// when its last target does not exist yet (the write creates it). Nothing for a loop of links.
std::optional<fs::path> resolve_target(const std::string& path) {
    std::error_code ec;
    fs::path current = fs::path(path);
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        if (!fs::is_symlink(current, ec)) return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) return std::nullopt;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return std::nullopt;
}

bool is_link_loop(const std::string& path) {
    std::error_code ec;
    (void)fs::status(fs::path(path), ec);
    return ec.value() == ELOOP;
}

std::string link_loop(const std::string& shown) {
    return "Plik " + shown + " jest dowiązaniem symbolicznym tworzącym pętlę dowiązań.";
}

std::string nul_in_name(const std::string& shown) {
    return "Nazwa pliku " + shown + " zawiera znak NUL.";
}

bool has_nul(const std::string& path) { return path.find('\0') != std::string::npos; }

// Why an existing file must not be replaced, or nothing when it may be.
std::optional<std::string> refusal(const std::string& shown, const fs::path& target,
                                   const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::not_found:
        case fs::file_type::regular:
            break;
        case fs::file_type::directory:
            return "Plik " + shown + " jest katalogiem: nie można go zastąpić.";
        default:
            return "Plik " + shown + " nie jest zwykłym plikiem (urządzenie, potok lub gniazdo): " +
                   "nie można go zastąpić.";
    }
    if (status.type() == fs::file_type::regular) {
        const auto writable =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((status.permissions() & writable) == fs::perms::none) {
            return "Plik " + shown + " jest tylko do odczytu: nie został zastąpiony.";
        }
        // Write bits of other users do not make a file the user's to replace.
        if (::access(target.c_str(), W_OK) != 0 && errno != ENOENT) {
            return "Brak uprawnień do zapisu pliku " + shown + ": nie został zastąpiony.";
        }
    }
    return std::nullopt;
}

std::string random_suffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (std::uint64_t bits = generator(), i = 0; i < 12; ++i, bits >>= 4)
        out.push_back(digits[bits & 15]);
    return out;
}

// Writes every byte, pushes them to the disk and closes; on failure the file is closed and errno
// kept.
bool write_all(FileOps& ops, std::FILE* file, const std::string& bytes) {
    const bool written =
        ops.write(file, bytes.data(), bytes.size()) && ops.flush(file) && ops.sync(file);
    const int error = errno;
    const bool closed = ops.close(file);
    if (!written) errno = error;
    return written && closed;
}

struct Temporary {
    std::string path;
    std::FILE* file = nullptr;
};

// A new file with an unpredictable name beside the target, created exclusively with `mode`. The
// name is short whatever the target's length, so a target of the longest name can be written.
std::optional<Temporary> create_temporary(FileOps& ops, const fs::path& target, unsigned mode) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string name = ".~";
        name += random_suffix();
        const fs::path candidate = target.parent_path() / name;
        if (std::FILE* file = ops.create_new(candidate.string(), mode))
            return Temporary{candidate.string(), file};
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// A file with several hard links is rewritten in place so that every link sees the new bytes;
// the old bytes go back when the rewrite fails halfway.
FileResult rewrite_in_place(FileOps& ops, const fs::path& target, const std::string& shown,
                            const std::string& bytes) {
    std::string old;
    if (!read_file_bytes(target.string(), old).ok)
        return {false, "Nie można odczytać pliku " + shown + "."};
    std::FILE* file = ops.open_for_rewrite(target.string());
    if (!file) return {false, write_failure(shown, errno)};
    if (write_all(ops, file, bytes)) return {true, {}};
    const int error = errno;
    if (std::FILE* restore = ops.open_for_rewrite(target.string())) write_all(ops, restore, old);
    return {false, write_failure(shown, error)};
}

}  // namespace

std::FILE* FileOps::create_new(const std::string& path, unsigned mode) {
    // O_EXCL with O_CREAT never follows a link at the name, dangling or not.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0) return nullptr;
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = error;
    }
    return file;
}
std::FILE* FileOps::open_for_rewrite(const std::string& path) {
    return std::fopen(path.c_str(), "wb");
}
bool FileOps::write(std::FILE* file, const char* data, std::size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}
bool FileOps::flush(std::FILE* file) { return std::fflush(file) == 0; }
bool FileOps::sync(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }
bool FileOps::close(std::FILE* file) { return std::fclose(file) == 0; }
bool FileOps::rename(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(fs::path(from), fs::path(to), ec);
    if (ec) errno = ec.value();
    return !ec;
}
bool FileOps::remove(const std::string& path) {
    std::error_code ec;
    return fs::remove(fs::path(path), ec);
}
bool FileOps::sync_directory(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

FileOps& file_ops() { return current_ops ? *current_ops : default_ops(); }

ScopedFileOps::ScopedFileOps(FileOps& ops) : previous_(current_ops) { current_ops = &ops; }
ScopedFileOps::~ScopedFileOps() { current_ops = previous_; }

FileResult read_file_pieces(const std::string& path,
                            const std::function<bool(std::string_view)>& take,
                            std::uintmax_t limit) {
    if (has_nul(path)) return {false, nul_in_name(path)};
    if (is_link_loop(path)) return {false, link_loop(path)};
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(path), ec);
    if (status.type() == fs::file_type::directory)
        return {false, "Plik " + path + " jest katalogiem."};
    if (status.type() == fs::file_type::not_found)
        return {false, "Plik " + path + " nie istnieje."};
    if (status.type() != fs::file_type::regular) {
        return {false,
                "Plik " + path + " nie jest zwykłym plikiem (urządzenie, potok lub gniazdo)."};
    }
    const auto too_large = [&] {
        return FileResult{false, "Plik " + path + " jest za duży (ponad " +
                                     std::to_string(limit >> 20) + " MB)."};
    };
    const std::uintmax_t size = fs::file_size(fs::path(path), ec);
    if (!ec && size > limit) return too_large();
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in) return {false, "Nie można otworzyć pliku " + path + "."};
    std::vector<char> buffer(std::size_t{1} << 16);
    std::uintmax_t read = 0;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        const auto count = static_cast<std::size_t>(in.gcount());
        read += count;
        // A file that grows while it is read is bounded too.
        if (read > limit) return too_large();
        if (!take(std::string_view(buffer.data(), count))) return {true, {}};
    }
    if (in.bad()) return {false, "Błąd odczytu pliku " + path + "."};
    return {true, {}};
}

FileResult read_file_bytes(const std::string& path, std::string& bytes, std::uintmax_t limit) {
    bytes.clear();
    try {
        std::error_code ec;
        const std::uintmax_t size = fs::file_size(fs::path(path), ec);
        if (!ec && size <= limit) bytes.reserve(static_cast<std::size_t>(size));
        auto result = read_file_pieces(
            path,
            [&bytes](std::string_view piece) {
                bytes.append(piece);
                return true;
            },
            limit);
        if (!result.ok) bytes.clear();
        return result;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        bytes.shrink_to_fit();
        return {false, "Brak pamięci na wczytanie pliku " + path + "."};
    }
}

FileResult write_file_replacing(const std::string& path, const std::string& bytes) {
    if (auto refused = confined(path, true)) return {false, *refused};
    FileOps& ops = file_ops();
    if (has_nul(path)) return {false, nul_in_name(path)};
    const auto target = resolve_target(path);
    if (!target || is_link_loop(target->string())) return {false, link_loop(path)};
    std::error_code ec;
    const fs::file_status status = fs::status(*target, ec);
    if (auto refused = refusal(path, *target, status)) return {false, *refused};
    const bool exists = status.type() == fs::file_type::regular;

    // Created with the replaced file's mode (a private file stays private, also while it is
    // written); the umask may take bits away, which the exact mode afterwards puts back.
    const unsigned mode = exists ? static_cast<unsigned>(status.permissions()) & 07777u : 0666u;
    auto temporary = create_temporary(ops, *target, mode);
    if (!temporary) return {false, "Nie można utworzyć pliku " + path + "."};
    const auto discard = [&] { ops.remove(temporary->path); };
    if (exists) {
        fs::permissions(fs::path(temporary->path), status.permissions(), ec);
        if (ec) {
            ops.close(temporary->file);
            discard();
            return {false, "Nie można nadać plikowi " + path + " uprawnień zastępowanego pliku."};
        }
    }
    if (!write_all(ops, temporary->file, bytes)) {
        const int error = errno;
        discard();
        return {false, write_failure(path, error)};
    }
    if (exists && fs::hard_link_count(*target, ec) > 1 && !ec) {
        discard();
        return rewrite_in_place(ops, *target, path, bytes);
    }
    if (!ops.rename(temporary->path, target->string())) {
        const int error = errno;
        discard();
        return {false, error == ENOSPC || error == EACCES || error == EPERM || error == EROFS
                           ? write_failure(path, error)
                           : "Nie można zapisać pliku " + path + "."};
    }
    // The new name reaches the disk too; a file system that cannot sync a directory loses
    // nothing by it.
    ops.sync_directory(directory_of(target->string()));
    return {true, {}};
}

FileResult write_text_file(const std::string& path, const std::string& utf8_text) {
    EncodeError error;
    const auto bytes = utf8_to_cp1250(utf8_text, &error);
    if (!bytes) return {false, error.message()};
    return write_file_replacing(path, *bytes);
}

FileResult delete_file(const std::string& path, const std::string& mask) {
    if (has_nul(path)) return {false, nul_in_name(path)};
    // A replay names a step outside its directory whatever the file's name.
    if (auto refused = confined(path, false)) return {false, *refused};
    if (!name_fits_mask(file_name_of(path), mask)) {
        return {false, "Plik " + file_name_of(path) + " nie pasuje do wzorca " + mask +
                           ": nie został usunięty."};
    }
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(fs::path(path), ec);
    if (status.type() != fs::file_type::regular || !file_ops().remove(path)) {
        return {false, "Nie można usunąć pliku " + path + "."};
    }
    return {true, {}};
}

bool name_fits_mask(const std::string& name, const std::string& mask) {
    if (mask == "*.*" || mask.empty()) return true;
    const std::string text = upper_case(name);
    const std::string pattern = upper_case(mask);
    // Wildcards as in a file dialog: '*' any run of bytes, '?' one character. The last '*' is
    // retried one byte further on a mismatch, which is linear for masks with one '*'.
    std::size_t t = 0, p = 0, star = std::string::npos, resume = 0;
    const auto is_continuation = [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    };
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            ++t;
            while (t < text.size() && is_continuation(text[t])) ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

WriteConfinement::WriteConfinement(const std::string& directory) {
    std::error_code ec;
    root_ = fs::weakly_canonical(fs::absolute(fs::path(directory), ec), ec).string();
    confinement = this;
}

WriteConfinement::~WriteConfinement() { confinement = nullptr; }

std::optional<std::string> WriteConfinement::refuse(const std::string& path, bool follow_link) {
    std::error_code ec;
    fs::path full = fs::absolute(fs::path(path), ec).lexically_normal();
    // A deleted link goes itself, so only its folder is resolved; a written one is followed.
    full = follow_link ? fs::weakly_canonical(full, ec)
                       : fs::weakly_canonical(full.parent_path(), ec) / full.filename();
    const fs::path relative = full.lexically_relative(fs::path(root_));
    const bool inside = !ec && !relative.empty() && *relative.begin() != ".." && relative != ".";
    if (inside) return std::nullopt;
    refused_.push_back(path);
    return "Plik " + path + " leży poza katalogiem odtwarzanej konsultacji: nie został zmieniony.";
}

std::string file_name_of(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string directory_of(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace xamo
