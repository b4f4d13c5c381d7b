// A computation done on a second thread while the caller goes on with other work, or at once on
// the caller's thread where no thread can be started. It must read nothing the caller changes
// meanwhile; get() waits for it and throws what it threw.
#pragma once

#include <future>
#include <optional>
#include <system_error>
#include <utility>

namespace xamo {

template <typename Result>
class Beside {
  public:
    template <typename Work>
    explicit Beside(Work work) {
        try {
            future_ = std::async(std::launch::async, work);
        } catch (const std::system_error&) {
            result_.emplace(work());
        }
    }

    Result get() { return result_ ? std::move(*result_) : future_.get(); }

  private:
    std::future<Result> future_;  // its end waits for the work, also when get() was not called
    std::optional<Result> result_;
};

}  // namespace xamo
