// Progress of a long search. A search calls step() at each unit of work; after `delay` the
// interaction shows its progress, and from then on it is polled about every 50 ms so the window
// stays painted. step() turns false for good once the user interrupted; the search then stops
// and stores nothing.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace xamo {

class UserInteraction;

inline constexpr std::chrono::milliseconds kProgressDelay{500};

class SearchProgress {
  public:
    SearchProgress(UserInteraction& ui, std::string title, std::string text,
                   std::chrono::milliseconds delay = kProgressDelay);
    ~SearchProgress();
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;

    // Cheap: the clock is read once every few thousand steps.
    bool step() {
        if (++steps_ < next_check_) return !interrupted_;
        return check();
    }
    bool interrupted() const { return interrupted_; }
    bool shown() const { return shown_; }

  private:
    bool check();

    using Clock = std::chrono::steady_clock;
    UserInteraction& ui_;
    std::string title_;
    std::string text_;
    Clock::time_point start_;
    Clock::time_point last_poll_;
    std::chrono::milliseconds delay_;
    std::uint64_t steps_ = 0;
    std::uint64_t next_check_ = 0;
    bool shown_ = false;
    bool interrupted_ = false;
};

}  // namespace xamo
