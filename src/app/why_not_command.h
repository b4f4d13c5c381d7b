// "Dlaczego nie?" (command 10160): enabled once an inference run has ended, disabled again when
// the rule or model base is loaded, created or deleted.
#pragma once

#include <cstdint>

namespace xamo {

class Application;
class ForwardInference;
class BackwardInference;

inline constexpr int kWhyNotCommand = 10160;

void register_why_not_command(Application& app);

// Follows one inference command. A run that started and ended is recorded for "Dlaczego nie?"
// and enables it; a run that started but was cut short (an exception leaving the command)
// disables it, since working memory then holds half a run. A run that did not start (a missing
// or faulty base) changes nothing: the last run's state is still there.
class WhyNotRun {
  public:
    explicit WhyNotRun(Application& app);
    WhyNotRun(const WhyNotRun&) = delete;
    WhyNotRun& operator=(const WhyNotRun&) = delete;
    ~WhyNotRun();

    void ended(ForwardInference& engine);
    void ended(BackwardInference& engine);

  private:
    bool started() const;
    void enable();

    Application& app_;
    std::uint64_t runs_before_;
    bool ended_ = false;
};

}  // namespace xamo
