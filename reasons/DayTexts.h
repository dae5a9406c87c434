#pragma once

#include <QLocale>
#include <QString>

namespace reasons {

// host::FormatDateTime of a day, remembered by the calling thread. A month-wide check writes the
// same few dozen days thousands of times, and every formatting of a date-time asks for the local
// time zone under a lock the whole process shares: the check's jobs queued on it one behind the
// other. What is remembered is bounded (rows from the wire may carry any number of days) and
// forgotten when the locale changes.
QString formatDay(const QString& format, double days, const QLocale& locale);

} // namespace reasons
