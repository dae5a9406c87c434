#pragma once

#include <QLocale>
#include <QString>

namespace host {

// The host's format settings: the one locale that dates, weekdays and numbers are shown and read by,
// in every field, grid, report and shell text. They come from format/locale in the settings, Brazil's
// by default, and never from the machine's LANG.
const QLocale& FormatSettings();

// The locale a format/locale value names ("pt_BR", "en_US", "C"). Throws Refusal for a name Qt does not
// know, instead of falling back to the C locale as QLocale does.
QLocale LocaleNamed(const QString& name);

} // namespace host
