#pragma once

#include <functional>

namespace host {

// The host's way of waiting for a server exchange while the busy indicator is up: the exchange runs
// on a worker thread and the user-interface thread turns a local event loop, so the window keeps
// painting and, after server/cancel_after_ms, the indicator offers Cancelar. Meanwhile no click, key
// or close request reaches any window but the indicator's, so nothing can change the selection the
// call was made for. A failure of the exchange is carried back and raised here, on the caller's
// thread, never inside the event loop. Without an indicator up, or off the user-interface thread,
// the exchange runs in place as before.
void WaitForExchange(const std::function<void()>& exchange, const std::function<void()>& cancel);

} // namespace host
