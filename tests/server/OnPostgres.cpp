#include <cstdlib>

namespace {

// This binary runs the server's cases on PostgreSQL: every TestDatabase it makes is a database of
// the process's private cluster. Set before main, so no test can see the other engine.
const bool onPostgres = [] { return ::setenv("RESTCONT_TEST_ENGINE", "postgresql", 1) == 0; }();

} // namespace
