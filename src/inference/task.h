// Deep evaluations without the C++ stack: the value of a quantity computed through a chain of
// models, an application condition verified as a hypothesis inside the evaluation of a model,
// and so on to any depth.
//
// Design notes
// - Such an evaluation is a coroutine returning Task<T>. Awaiting a task does not call it: the
//   awaiting coroutine stays suspended and the task is pushed on the stack of the driver that
//   runs them (Task::run), so a chain of any length costs heap (one coroutine frame per level),
//   never C++ stack.
// - The driver resumes the task on top of its stack; a task that finishes is popped and the one
//   below (its awaiter) resumed, taking the result. An exception (QuitRequested) is kept by the
//   task and thrown again in its awaiter, and by run() for the outermost one.
// - run() may be called inside a task (a synchronous step that needs an evaluation, such as the
//   data-error check after a typed value); it runs a driver of its own and returns when its task
//   ends. Such nesting depends on the dialogs a user answers, not on the length of a chain.
// - Parameters of a coroutine are copied into its frame: tasks take strings by value.
#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

namespace xamo {

namespace task_detail {

struct Driver {
    std::vector<std::coroutine_handle<>> stack;
};

// The driver whose loop is resuming tasks now.
inline thread_local Driver* current = nullptr;

}  // namespace task_detail

template <typename T>
class [[nodiscard]] Task {
  public:
    struct promise_type {
        std::optional<T> value;
        std::exception_ptr error;

        Task get_return_object() { return Task(Handle::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        std::suspend_always final_suspend() noexcept { return {}; }
        void return_value(T result) { value.emplace(std::move(result)); }
        void unhandled_exception() { error = std::current_exception(); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&&) = delete;
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() {
        if (handle_) handle_.destroy();
    }

    // Awaiting: the task goes on top of the running driver's stack.
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>) { task_detail::current->stack.push_back(handle_); }
    T await_resume() { return take(); }

    // Runs the task to its end on a driver of its own and returns its result.
    T run() && {
        task_detail::Driver driver;
        task_detail::Driver* const outer = task_detail::current;
        struct Restore {
            task_detail::Driver* outer;
            ~Restore() { task_detail::current = outer; }
        } restore{outer};
        task_detail::current = &driver;
        driver.stack.push_back(handle_);
        while (!driver.stack.empty()) {
            const std::coroutine_handle<> top = driver.stack.back();
            top.resume();
            if (top.done()) driver.stack.pop_back();
        }
        return take();
    }

  private:
    explicit Task(Handle handle) : handle_(handle) {}

    T take() {
        promise_type& promise = handle_.promise();
        if (promise.error) std::rethrow_exception(promise.error);
        return std::move(*promise.value);
    }

    Handle handle_;
};

}  // namespace xamo
