#include "host/core/Refusal.h"

namespace host {

Refusal::Refusal(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

} // namespace host
