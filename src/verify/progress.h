// Progress of a long search. A search calls step() at each unit of work; the clock is read every
// few steps, so a step must stay short (well under a millisecond): after `delay` the interaction
// shows its progress, and from then on it is polled about every 50 ms so the window stays painted
// and "Przerwij" answers at once. step() turns false for good once the user interrupted; the
// search then stops and stores nothing, and a line in the message window says what was left
// unchecked (tell_when_interrupted).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace xamo {

class UserInteraction;

inline constexpr std::chrono::milliseconds kProgressDelay{200};

class SearchProgress {
  public:
    SearchProgress(UserInteraction& ui, std::string title, std::string text,
                   std::chrono::milliseconds delay = kProgressDelay);
    ~SearchProgress();
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;

    // Cheap: the clock is read once every few dozen steps.
    bool step() {
        if (++steps_ < next_check_) return !interrupted_;
        return check();
    }
    bool interrupted() const { return interrupted_; }
    // The sentence the message window gets, after the search's title, when the user interrupts.
    void tell_when_interrupted(std::string unchecked) { unchecked_ = std::move(unchecked); }
    bool shown() const { return shown_; }

  private:
    bool check();

    using Clock = std::chrono::steady_clock;
    UserInteraction& ui_;
    std::string title_;
    std::string text_;
    std::string unchecked_;
    Clock::time_point start_;
    Clock::time_point last_poll_;
    std::chrono::milliseconds delay_;
    std::uint64_t steps_ = 0;
    std::uint64_t next_check_ = 0;
    bool shown_ = false;
    bool interrupted_ = false;
};

}  // namespace xamo
