#include "host/format/Formatting.h"

#include "protocol/DateTime.h"

#include <QDate>
#include <QTime>

#include <array>
#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace host {

namespace {

bool isInputChar(QChar c) {
    return c == u'a' || c == u'A' || c == u'l' || c == u'L' || c == u'9' || c == u'0';
}

using MaskParts = EditMaskParts;

} // namespace

// The sections are split at unescaped ";" only, so "\;" stays a literal of the body.
EditMaskParts SplitEditMask(const QString& editMask) {
    QStringList sections;
    QString current;
    for (qsizetype i = 0; i < editMask.size(); ++i) {
        const QChar c = editMask.at(i);
        if (c == u'\\' && i + 1 < editMask.size() && sections.isEmpty()) {
            current += c;
            current += editMask.at(++i);
        } else if (c == u';' && sections.size() < 2) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    MaskParts parts;
    parts.body = sections.at(0);
    if (sections.size() > 1)
        parts.keepLiterals = sections.at(1).trimmed() != u"0"_s;
    if (sections.size() > 2 && !sections.at(2).isEmpty())
        parts.blank = sections.at(2).at(0);
    return parts;
}

namespace {

QDateTime toQt(double days) {
    const proto::CivilDateTime civil = proto::toCivil(proto::DateTime{days});
    return QDateTime(QDate(civil.year, civil.month, civil.day),
                     QTime(civil.hour, civil.minute, civil.second));
}

QLocale withGrouping(const QLocale& locale, bool grouped) {
    QLocale copy = locale;
    copy.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    return copy;
}

QString timeText(const QTime& time, const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(u"ss"_s))
        format.replace(u"mm"_s, u"mm:ss"_s);
    return locale.toString(time, format);
}

} // namespace

QString FormatMaskText(const QString& editMask, const QString& value) {
    const MaskParts parts = SplitEditMask(editMask);
    enum class Case { Keep, Upper, Lower } convert = Case::Keep;
    QString out;
    qsizetype next = 0;
    const QString& body = parts.body;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u'>') {
            convert = Case::Upper;
            continue;
        }
        if (c == u'<') {
            if (i + 1 < body.size() && body.at(i + 1) == u'>') {
                ++i;
                convert = Case::Keep;
            } else {
                convert = Case::Lower;
            }
            continue;
        }
        if (isInputChar(c)) {
            if (next < value.size()) {
                QChar taken = value.at(next++);
                if (convert == Case::Upper)
                    taken = taken.toUpper();
                else if (convert == Case::Lower)
                    taken = taken.toLower();
                out += taken;
            } else {
                out += parts.blank;
            }
            continue;
        }
        const QChar literal = (c == u'\\' && i + 1 < body.size()) ? body.at(++i) : c;
        // A value that keeps its literals carries them in place: step over the one that matches.
        if (parts.keepLiterals && next < value.size() && value.at(next) == literal)
            ++next;
        out += literal;
    }
    return out;
}

QString FormatFloat(const QString& format, double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return FormatFloatGeneral(value, locale);
    const qsizetype point = format.indexOf(u'.');
    const QString integerPart = point < 0 ? format : format.left(point);
    const QString decimalPart = point < 0 ? QString() : format.mid(point + 1);
    const int required = static_cast<int>(decimalPart.count(u'0'));
    const int optional = static_cast<int>(decimalPart.count(u'#'));
    const bool grouped = integerPart.contains(u',');
    const QLocale numbers = withGrouping(locale, grouped);
    QString text = numbers.toString(value, 'f', required + optional);
    if (optional > 0) {
        const QChar decimal = numbers.decimalPoint().at(0);
        int stripped = 0;
        while (stripped < optional && text.endsWith(u'0')) {
            text.chop(1);
            ++stripped;
        }
        if (required == 0 && text.endsWith(decimal))
            text.chop(1);
    }
    // "-0,00000" for a tiny negative value reads as a sign error to the user.
    const QString zero = numbers.toString(0.0, 'f', required);
    if (text == numbers.negativeSign() + zero)
        text = zero;
    if (!integerPart.contains(u'0')) {
        // "#.##" shows ".5", not "0.5".
        const QString leadingZero = numbers.toString(0) + numbers.decimalPoint();
        if (text.startsWith(leadingZero))
            text.remove(0, 1);
    }
    return text;
}

QString FormatFloatGeneral(double value, const QLocale& locale) {
    if (std::isnan(value))
        return u"NAN"_s;
    if (std::isinf(value))
        return value > 0 ? u"INF"_s : u"-INF"_s;
    if (value == 0)
        return u"0"_s;
    // to_chars is "%.15g" without the C library's LC_NUMERIC, which the application object sets from LANG.
    std::array<char, 32> buffer{};
    const auto end =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15)
            .ptr;
    QString text = QString::fromLatin1(buffer.data(), end - buffer.data());
    text.replace(u'.', locale.decimalPoint());
    text.replace(u'e', u'E');
    return text;
}

QString FloatTextLossless(double value, const QLocale& locale) {
    if (!std::isfinite(value))
        return FormatFloatGeneral(value, locale);
    return withGrouping(locale, false).toString(value, 'g', QLocale::FloatingPointShortest);
}

std::optional<double> ParseNumber(const QString& text, const QLocale& locale) {
    QLocale strict = locale;
    strict.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    bool ok = false;
    const double number = strict.toDouble(text.trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return number;
}

QString ShortDayName(double days, const QLocale& locale) {
    QString name = locale.dayName(toQt(days).date().dayOfWeek(), QLocale::ShortFormat);
    while (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

QString ShortDateText(double days, const QLocale& locale) {
    return locale.toString(toQt(days).date(), QLocale::ShortFormat);
}

QString DateTimeText(double days, const QLocale& locale) {
    const QDateTime moment = toQt(days);
    QString text = locale.toString(moment.date(), QLocale::ShortFormat);
    if (moment.time() != QTime(0, 0))
        text += u' ' + timeText(moment.time(), locale);
    return text;
}

QString FormatDateTime(const QString& format, double days, const QLocale& locale) {
    const QDateTime moment = toQt(days);
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString out;
    qsizetype i = 0;
    const auto run = [&](QChar c) {
        qsizetype n = 0;
        while (i + n < format.size() && format.at(i + n).toLower() == c)
            ++n;
        return n;
    };
    const auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    while (i < format.size()) {
        const QChar c = format.at(i).toLower();
        qsizetype n = 0;
        if (format.at(i) == u'"' || format.at(i) == u'\'') {
            const qsizetype end = format.indexOf(format.at(i), i + 1);
            const qsizetype stop = end < 0 ? format.size() : end;
            out += format.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (c == u'd') {
            n = run(u'd');
            if (n == 1)
                out += QString::number(date.day());
            else if (n == 2)
                out += two(date.day());
            else if (n == 3)
                out += ShortDayName(days, locale);
            else if (n == 4)
                out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
            else
                out += ShortDateText(days, locale);
        } else if (c == u'm') {
            n = std::min<qsizetype>(run(u'm'), 2);
            out += n == 1 ? QString::number(date.month()) : two(date.month());
        } else if (c == u'y') {
            n = run(u'y');
            out += n <= 2 ? two(date.year() % 100) : QString::number(date.year());
        } else if (c == u'h') {
            n = std::min<qsizetype>(run(u'h'), 2);
            out += n == 1 ? QString::number(time.hour()) : two(time.hour());
        } else if (c == u'n') {
            n = std::min<qsizetype>(run(u'n'), 2);
            out += n == 1 ? QString::number(time.minute()) : two(time.minute());
        } else if (c == u's') {
            n = std::min<qsizetype>(run(u's'), 2);
            out += n == 1 ? QString::number(time.second()) : two(time.second());
        } else {
            n = 1;
            out += format.at(i);
        }
        i += n;
    }
    return out;
}

} // namespace host
