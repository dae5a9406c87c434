#include "reasons/DayTexts.h"

#include "host/format/Formatting.h"

#include <cmath>
#include <map>
#include <utility>

namespace reasons {

namespace {

constexpr std::size_t kRemembered = 1024;

struct Remembered {
    QLocale locale;
    std::map<std::pair<QString, double>, QString> texts;
};

} // namespace

QString formatDay(const QString& format, double days, const QLocale& locale) {
    // A NaN key would break the map's order; such a value is formatted each time.
    if (!std::isfinite(days))
        return host::FormatDateTime(format, days, locale);
    thread_local Remembered remembered;
    if (!(remembered.locale == locale) || remembered.texts.size() >= kRemembered) {
        remembered.texts.clear();
        remembered.locale = locale;
    }
    auto key = std::pair(format, days);
    if (const auto found = remembered.texts.find(key); found != remembered.texts.end())
        return found->second;
    QString text = host::FormatDateTime(format, days, locale);
    remembered.texts.emplace(std::move(key), text);
    return text;
}

} // namespace reasons
