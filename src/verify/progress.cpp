#include "verify/progress.h"

#include "dialog/interaction.h"

namespace xamo {
namespace {

constexpr std::uint64_t kStepsBetweenChecks = 64;
constexpr std::chrono::milliseconds kPollInterval{50};

}  // namespace

SearchProgress::SearchProgress(UserInteraction& ui, std::string title, std::string text,
                               std::chrono::milliseconds delay)
    : ui_(ui),
      title_(std::move(title)),
      text_(std::move(text)),
      start_(Clock::now()),
      last_poll_(start_),
      delay_(delay) {}

SearchProgress::~SearchProgress() {
    if (shown_) ui_.end_progress();
    if (interrupted_ && !unchecked_.empty()) {
        ui_.write(" " + title_ + " została przerwana. " + unchecked_);
        ui_.new_line();
    }
}

bool SearchProgress::check() {
    next_check_ = steps_ + kStepsBetweenChecks;
    if (interrupted_) return false;
    const auto now = Clock::now();
    if (!shown_) {
        if (now - start_ < delay_) return true;
        shown_ = true;
        ui_.begin_progress(title_, text_);
    } else if (now - last_poll_ < kPollInterval) {
        return true;
    }
    last_poll_ = now;
    if (!ui_.progress_continues()) interrupted_ = true;
    return !interrupted_;
}

}  // namespace xamo
