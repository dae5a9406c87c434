#pragma once

#include <QLocale>
#include <QString>

#include <optional>

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

// The general number format: C's "%.15g" with the locale's decimal separator. Fixed notation while the
// decimal exponent is from -4 to 14, otherwise mantissa, "E", sign and at least two digits; no trailing
// zeros, no grouping, and -0 shows 0.
QString FormatFloatGeneral(double value, const QLocale& locale);

// The shortest text that reads back by the locale as the very same double (no grouping): for a number
// kept as text, where fifteen digits would lose what was stored.
QString FloatTextLossless(double value, const QLocale& locale);

// A number typed or stored as text, read by the same locale that shows it. A group separator is refused,
// so "1.500" never silently reads as 1,5 or 1500 depending on the machine. Empty when it is no number.
std::optional<double> ParseNumber(const QString& text, const QLocale& locale);

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
