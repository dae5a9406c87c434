#include "check/Texts.h"

#include "host/format/Formatting.h"
#include "reasons/DayTexts.h"

using namespace Qt::StringLiterals;

namespace check::text {

std::string number(double value, const QLocale& locale) {
    return host::FormatFloat(u"#,##0.###"_s, value, locale).toStdString();
}

std::string plainNumber(double value, const QLocale& locale) {
    return host::FormatFloatGeneral(value, locale).toStdString();
}

std::string dayMonth(server::Day day, const QLocale& locale) {
    return reasons::formatDay(u"dd/mm"_s, day, locale).toStdString();
}

std::string fullDate(server::Day day, const QLocale& locale) {
    return reasons::formatDay(u"dd/mm/yyyy"_s, day, locale).toStdString();
}

std::string dayList(const std::vector<server::Day>& days, const QLocale& locale) {
    std::string list;
    for (const server::Day day : days)
        list += (list.empty() ? "" : ", ") + dayMonth(day, locale);
    return list;
}

std::string named(const std::optional<std::string>& name, const std::string& code) {
    return name && !name->empty() ? *name + " (" + code + ")" : code;
}

} // namespace check::text
