// Work handed to a second thread in batches, done there in the order given: a reader parses the
// next lines while the lines before are stored. Batches are reused, so a long file allocates a
// few of them only; at most kWaiting wait at a time, which bounds the memory they hold.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace xamo {

template <typename Batch>
class BatchThread {
  public:
    // `work` is called on the thread with each batch and leaves it empty, to be reused.
    explicit BatchThread(std::function<void(Batch&)> work)
        : work_(std::move(work)), thread_([this] { run(); }) {}
    ~BatchThread() {
        close();
        thread_.join();
    }
    BatchThread(const BatchThread&) = delete;
    BatchThread& operator=(const BatchThread&) = delete;

    // Takes `batch` to be done and leaves an empty one in its place. Throws what the work threw
    // before; the batches after a failure are not done.
    void hand_over(Batch& batch) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_.size() < kWaiting || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        waiting_.push_back(std::move(batch));
        if (spare_.empty()) {
            batch = Batch{};
        } else {
            batch = std::move(spare_.back());
            spare_.pop_back();
        }
        changed_.notify_all();
    }

    // Waits until every batch handed over is done; throws what the work threw.
    void finish() {
        close();
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return done_; });
        if (failure_) std::rethrow_exception(failure_);
    }

  private:
    static constexpr std::size_t kWaiting = 4;

    void close() {
        std::lock_guard lock(mutex_);
        closing_ = true;
        changed_.notify_all();
    }

    void run() {
        std::unique_lock lock(mutex_);
        while (true) {
            changed_.wait(lock, [this] { return !waiting_.empty() || closing_; });
            if (waiting_.empty()) break;
            Batch batch = std::move(waiting_.front());
            waiting_.pop_front();
            changed_.notify_all();
            lock.unlock();
            try {
                work_(batch);
            } catch (...) {
                lock.lock();
                failure_ = std::current_exception();
                break;
            }
            lock.lock();
            spare_.push_back(std::move(batch));
        }
        done_ = true;
        changed_.notify_all();
    }

    std::function<void(Batch&)> work_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> waiting_;
    std::vector<Batch> spare_;
    bool closing_ = false;
    bool done_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the members it uses are made
};

}  // namespace xamo
