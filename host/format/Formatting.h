#pragma once

#include <QLocale>
#include <QString>

// Texts the fields and the text events show. Plain functions: every one takes the locale, so the
// same call gives the same text on a developer's machine and on the build server.
namespace host {

// Lays a raw value out by an edit mask: ">" upper-cases what follows, "<" lower-cases, "<>" stops
// converting; "a", "A", "l", "L", "9" and "0" take one character of the value; "\" makes the next
// character literal; every other character is a literal. After the first ";" comes "1" when the value
// carries the literals itself, "0" when it does not; after the second ";" the character shown for a
// position the value does not fill (a blank by default).
QString FormatMaskText(const QString& editMask, const QString& value);

// An edit mask taken apart at its unescaped ";": the body (escapes kept), whether the value keeps
// the literals, and the blank character. A masked edit lays its positions out from these.
struct EditMaskParts {
    QString body;
    bool keepLiterals = true;
    QChar blank = u' ';
};
EditMaskParts SplitEditMask(const QString& editMask);

// A float by a display format such as "#,##0.00000": grouped thousands when the integer part has a
// ",", as many decimals as the "0"s after the point plus up to the "#"s after them, the locale's
// separators.
QString FormatFloat(const QString& format, double value, const QLocale& locale);

// The general number format: the shortest text that reads back as the same double, no trailing zeros,
// no grouping.
QString FormatFloatGeneral(double value, const QLocale& locale);

// The locale's abbreviated weekday, without the period some locales add ("ter", not "ter.").
QString ShortDayName(double days, const QLocale& locale);
// The locale's short date.
QString ShortDateText(double days, const QLocale& locale);
// A date-time as a field without display format shows it: the short date, then a blank and the time
// only when the time of day is not midnight.
QString DateTimeText(double days, const QLocale& locale);
// A date-time by a format of the day tokens "d", "dd", "ddd", "dddd", "m", "mm", "yy", "yyyy",
// "hh", "nn", "ss"; "ddddd" is the short date; quoted text and other characters are copied.
QString FormatDateTime(const QString& format, double days, const QLocale& locale);

} // namespace host
