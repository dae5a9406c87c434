#include "host/context/FormatSettings.h"

#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"

using namespace Qt::StringLiterals;

namespace host {

QLocale LocaleNamed(const QString& name) {
    const QString trimmed = name.trimmed();
    const QLocale locale(trimmed);
    // QLocale answers the C locale for any name it does not know.
    if (trimmed.isEmpty() || (locale.language() == QLocale::C && trimmed != u"C"_s))
        throw Refusal(u"Valor inválido para '%1' nas configurações: '%2' (use, por exemplo, pt_BR)."_s.arg(
            keys::kFormatLocale, name));
    return locale;
}

const QLocale& FormatSettings() {
    // Every grid cell asks: build the locale again only when the setting has changed.
    static QString name;
    static QLocale locale = LocaleNamed(keys::kDefaultFormatLocale);
    const QString wanted = OperatorContext::instance().value(keys::kFormatLocale, keys::kDefaultFormatLocale);
    if (wanted != name) {
        locale = LocaleNamed(wanted);
        name = wanted;
    }
    return locale;
}

} // namespace host
