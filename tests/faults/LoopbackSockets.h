#pragma once

#include <string>

// Raw loopback TCP for the fault tests that must misbehave below HTTP (cut a connection, send half an
// answer), which an HTTP library will not do on purpose.

// A listening socket on 127.0.0.1 at a free port; throws std::runtime_error naming `who`.
int listenOnLoopback(int& port, const char* who);
// A connected socket to 127.0.0.1:port, or -1.
int connectToLoopback(int port);
// Sends everything or reports that the other end went away.
bool sendAll(int fd, const char* data, long size);
inline bool sendAll(int fd, const std::string& text) {
    return sendAll(fd, text.data(), static_cast<long>(text.size()));
}
