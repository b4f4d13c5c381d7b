#include "inference/run_progress.h"

#include <utility>

#include "dialog/interaction.h"

namespace xamo {
namespace {

constexpr std::chrono::milliseconds kPollInterval{50};
// Longer than any step of computation between two calls; a dialog takes longer.
constexpr std::chrono::milliseconds kPause{250};

}  // namespace

RunProgress::RunProgress(UserInteraction& ui, std::string title, std::string text,
                         std::chrono::milliseconds delay)
    : ui_(ui),
      title_(std::move(title)),
      text_(std::move(text)),
      quiet_since_(Clock::now()),
      last_step_(quiet_since_),
      last_poll_(quiet_since_),
      delay_(delay) {}

RunProgress::~RunProgress() { hide(); }

void RunProgress::hide() {
    if (!shown_) return;
    shown_ = false;
    ui_.end_progress();
}

bool RunProgress::step() {
    const auto now = Clock::now();
    if (now - last_step_ > kPause) {
        hide();
        quiet_since_ = now;
    }
    last_step_ = now;
    if (!shown_) {
        if (now - quiet_since_ < delay_) return true;
        shown_ = true;
        ui_.begin_progress(title_, text_);
    } else if (now - last_poll_ < kPollInterval) {
        return true;
    }
    last_poll_ = now;
    if (ui_.progress_continues()) return true;
    hide();
    quiet_since_ = now;
    return false;
}

}  // namespace xamo
