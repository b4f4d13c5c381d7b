// Progress of a long inference run. The engines call step() at each unit of work (a firing, a
// frame of backward verification, a quantity evaluated). Once the run has gone on for about half
// a second without a dialog, the interaction shows its progress with "Przerwij", polled about
// every 50 ms so that the window stays painted. A step that follows a long pause (a question or
// an explanation was open) starts the count again and takes the progress away. (A search of the
// diagnoses, which asks nothing while it runs, uses SearchProgress instead.)
#pragma once

#include <chrono>
#include <string>

#include "verify/progress.h"

namespace xamo {

class UserInteraction;

class RunProgress {
  public:
    static constexpr std::chrono::milliseconds kDelay = kProgressDelay;

    RunProgress(UserInteraction& ui, std::string title, std::string text,
                std::chrono::milliseconds delay = kDelay);
    ~RunProgress();
    RunProgress(const RunProgress&) = delete;
    RunProgress& operator=(const RunProgress&) = delete;

    // False when the user asked to interrupt the run; the progress is then taken away and shown
    // again later if the run goes on.
    bool step();

  private:
    using Clock = std::chrono::steady_clock;
    void hide();

    UserInteraction& ui_;
    std::string title_;
    std::string text_;
    Clock::time_point quiet_since_;  // the run has gone on without a dialog since then
    Clock::time_point last_step_;
    Clock::time_point last_poll_;
    std::chrono::milliseconds delay_;
    bool shown_ = false;
};

}  // namespace xamo
