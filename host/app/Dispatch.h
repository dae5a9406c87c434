#pragma once

#include <functional>

namespace host {

// The one boundary between Qt's event loop and the screen's handlers. Runs the action; a Refusal or
// any other exception it throws is handed to the host's error display and never reaches Qt. Answers
// true when the action ran to its end. Code that "presses" a button calls the handler itself
// instead, so that a failure reaches its caller.
bool Dispatch(const std::function<void()>& action);

} // namespace host
