#pragma once

#include <utility>

// Runs an action when the scope ends, however it ends: the number core's one
// way to clean up after an error (code that uses Qt has qScopeGuard).
template <class Action> class OnExit {
  public:
    explicit OnExit(Action action) : action(std::move(action)) {}
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;
    ~OnExit() { action(); }

  private:
    Action action;
};
