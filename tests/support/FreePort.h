#pragma once

// A loopback TCP port nobody listens on right now. Another process may take it before the caller
// binds it: callers retry with another on failure.
int freeLoopbackPort();
