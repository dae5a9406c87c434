#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "host/format/Formatting.h"

#include <QLocale>
#include <QString>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

// Float fields show their values by a display format from the field table ("#,##0.00000") in the
// user's locale. Whatever the format and the value, the text reads back as the value rounded to the
// decimals the format asks for, shows between the required and the allowed decimals, groups exactly
// when the format does and never shows a zero with a minus sign.

using namespace Qt::StringLiterals;

namespace {

// Locales whose separators, signs and grouping differ from each other: a comma or a point for
// decimals; a point, a blank, a narrow blank or an apostrophe for thousands; Indian grouping; no
// grouping below ten thousand; a minus sign that is not a hyphen.
const std::array<QLocale::Language, 9> kLanguages{QLocale::C,       QLocale::Portuguese, QLocale::English,
                                                  QLocale::German,  QLocale::French,     QLocale::German,
                                                  QLocale::Spanish, QLocale::English,    QLocale::Swedish};
const std::array<QLocale::Territory, 9> kTerritories{
    QLocale::AnyTerritory, QLocale::Brazil, QLocale::UnitedStates, QLocale::Germany, QLocale::France,
    QLocale::Switzerland,  QLocale::Spain,  QLocale::India,        QLocale::Sweden};

struct Wanted {
    int required = 0; // "0"s after the point
    int optional = 0; // "#"s after the point
    bool grouped = false;
};

Wanted read(const QString& format) {
    const qsizetype point = format.indexOf(u'.');
    const QString integerPart = point < 0 ? format : format.left(point);
    const QString decimalPart = point < 0 ? QString() : format.mid(point + 1);
    return {static_cast<int>(decimalPart.count(u'0')), static_cast<int>(decimalPart.count(u'#')),
            integerPart.contains(u',')};
}

// The text as a plain number the locale reads: no group separators, a zero before a bare point.
double readBack(QString text, const QLocale& locale, bool* ok) {
    text.remove(locale.groupSeparator());
    const QString sign = locale.negativeSign();
    const bool negative = text.startsWith(sign);
    if (negative)
        text.remove(0, sign.size());
    if (text.startsWith(locale.decimalPoint()))
        text.prepend(locale.zeroDigit());
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const double magnitude = plain.toDouble(text, ok);
    return negative ? -magnitude : magnitude;
}

void checkDisplayFormat(const QString& format, double value, const QLocale& locale) {
    const QString text = host::FormatFloat(format, value, locale);
    const std::string what =
        (format + u" "_s + QString::number(value, 'g', 17) + u" "_s + locale.name() + u" -> "_s + text)
            .toStdString();
    FUZZ_CHECK(!text.isEmpty(), what);
    if (!std::isfinite(value))
        return;
    const Wanted wanted = read(format);
    bool ok = false;
    const double shown = readBack(text, locale, &ok);
    FUZZ_CHECK(ok, what);
    const int decimals = wanted.required + wanted.optional;
    const double tolerance =
        0.5 * std::pow(10.0, -decimals) + std::abs(value) * 4 * std::numeric_limits<double>::epsilon();
    FUZZ_CHECK(std::abs(shown - value) <= tolerance * (1 + 1e-9), what);

    const qsizetype point = text.indexOf(locale.decimalPoint());
    const qsizetype shownDecimals = point < 0 ? 0 : text.size() - point - 1;
    FUZZ_CHECK(shownDecimals >= wanted.required && shownDecimals <= decimals, what);
    if (shown == 0)
        FUZZ_CHECK(!text.startsWith(locale.negativeSign()), what);
    const bool hasGroups = text.contains(locale.groupSeparator());
    if (!wanted.grouped)
        FUZZ_CHECK(!hasGroups, what);
    else if (std::abs(value) >= 100000)
        FUZZ_CHECK(hasGroups, what);
}

// The general format is "%.15g" with the locale's decimal separator: fifteen significant digits, no
// trailing zeros, fixed notation for a decimal exponent from -4 to 14 and "E" with a sign and at least
// two digits otherwise. The lossless text of a number kept as text reads back as the very same double.
void checkGeneralFormat(double value, const QLocale& locale) {
    const QString text = host::FormatFloatGeneral(value, locale);
    const std::string what =
        (QString::number(value, 'g', 17) + u" "_s + locale.name() + u" -> "_s + text).toStdString();
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == u"NAN"_s || text == u"INF"_s || text == u"-INF"_s, what);
        return;
    }
    const QChar decimal = locale.decimalPoint().at(0);
    const qsizetype e = text.indexOf(u'E');
    const QString mantissa = e < 0 ? text : text.left(e);
    for (qsizetype i = 0; i < mantissa.size(); ++i)
        FUZZ_CHECK(mantissa.at(i).isDigit() || mantissa.at(i) == decimal ||
                       (i == 0 && mantissa.at(i) == u'-'),
                   what);
    FUZZ_CHECK(!mantissa.contains(decimal) || !mantissa.endsWith(u'0'), what);
    FUZZ_CHECK(!mantissa.endsWith(decimal), what);
    if (value == 0)
        FUZZ_CHECK(text == u"0"_s, what);
    QString plain = text;
    plain.replace(decimal, u'.');
    bool ok = false;
    double shown = plain.toDouble(&ok);
    if (!ok && std::abs(value) > std::numeric_limits<double>::max() / (1 + 5e-15)) {
        // Fifteen digits of the very largest doubles round up past the largest double: the text is
        // what "%.15g" writes, it just cannot be read back into a double.
        ok = true;
        shown = value;
    }
    FUZZ_CHECK(ok, what);
    // Half a unit in the fifteenth digit, plus the rounding of reading the text back.
    FUZZ_CHECK(std::abs(shown - value) <=
                   std::abs(value) * (5e-15 + 4 * std::numeric_limits<double>::epsilon()),
               what);
    if (value != 0) {
        // The decimal exponent after rounding to fifteen digits, as "%g" decides by it.
        std::array<char, 40> scientific{};
        std::snprintf(scientific.data(), scientific.size(), "%.14e", value);
        const int exponent = std::atoi(std::strchr(scientific.data(), 'e') + 1);
        FUZZ_CHECK((e >= 0) == (exponent < -4 || exponent > 14), what);
        if (e >= 0) {
            const QString tail = text.mid(e + 1);
            FUZZ_CHECK(tail.size() >= 3 && (tail.at(0) == u'+' || tail.at(0) == u'-'), what);
        }
    }

    const QString lossless = host::FloatTextLossless(value, locale);
    FUZZ_CHECK(host::ParseNumber(lossless, locale) == value || locale.exponential().size() > 1,
               lossless.toStdString() + " " + what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const double value = input.take<double>();
    const auto which = static_cast<std::size_t>(input.take<unsigned char>()) % kLanguages.size();
    const std::string_view formatBytes = input.rest();
    const QString format = QString::fromUtf8(formatBytes.data(), static_cast<qsizetype>(formatBytes.size()));
    const QLocale locale(kLanguages[which], kTerritories[which]);

    checkDisplayFormat(format, value, locale);
    checkGeneralFormat(value, locale);
    return 0;
}
