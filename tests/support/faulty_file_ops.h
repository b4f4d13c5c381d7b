// A FileOps that fails one chosen step of a write, the way a broken disk would.
#pragma once

#include <cerrno>
#include <string>

#include "kb/files.h"

namespace xamo::testing {

class FaultyFileOps : public FileOps {
  public:
    enum class Fault { None, Create, NthWrite, Flush, Close, Rename, DiskFull };

    explicit FaultyFileOps(Fault fault, int nth = 1) : fault_(fault), nth_(nth) {}

    std::FILE* create_new(const std::string& path, unsigned mode) override {
        if (fault_ == Fault::Create) return fail<std::FILE*>(EACCES, nullptr);
        return FileOps::create_new(path, mode);
    }
    bool write(std::FILE* file, const char* data, std::size_t size) override {
        ++writes_;
        if (fault_ == Fault::DiskFull) {
            // Half the bytes reach the disk, then it is full.
            FileOps::write(file, data, size / 2);
            return fail(ENOSPC, false);
        }
        if (fault_ == Fault::NthWrite && writes_ == nth_) return fail(EIO, false);
        return FileOps::write(file, data, size);
    }
    bool flush(std::FILE* file) override {
        if (fault_ == Fault::Flush) {
            FileOps::flush(file);
            return fail(EIO, false);
        }
        return FileOps::flush(file);
    }
    bool close(std::FILE* file) override {
        const bool closed = FileOps::close(file);
        if (fault_ == Fault::Close) return fail(EIO, false);
        return closed;
    }
    bool rename(const std::string& from, const std::string& to) override {
        if (fault_ == Fault::Rename) return fail(EXDEV, false);
        return FileOps::rename(from, to);
    }

    int writes() const { return writes_; }

  private:
    template <typename T>
    static T fail(int error, T value) {
        errno = error;
        return value;
    }

    Fault fault_;
    int nth_;
    int writes_ = 0;
};

}  // namespace xamo::testing
