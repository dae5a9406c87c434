#pragma once

#include <utility>

namespace host {

// Runs its action when the scope ends, normally or by an exception: the clean-up that must happen
// also on failure (busy indicator, cursor, painting freeze, bookmark, detached event).
template <typename Action> class ScopeGuard {
public:
    explicit ScopeGuard(Action action) : action_(std::move(action)) {}
    ~ScopeGuard() {
        if (active_)
            action_();
    }
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    void dismiss() { active_ = false; }

private:
    Action action_;
    bool active_ = true;
};

} // namespace host
