#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "host/format/Formatting.h"

#include <QString>

// The mask formatter lays out codes that come from the server by masks that come from the settings
// file: neither is trusted to be well formed. Every character it shows comes from the mask, the value
// or the blank, and how many it shows depends on the mask alone. A text the mask laid out with its
// literals reads back as itself, as the masked edit reads back what it showed.

using namespace Qt::StringLiterals;

namespace {

bool comesFrom(QChar shown, const QString& mask, const QString& value, QChar blank) {
    if (shown == blank || mask.contains(shown))
        return true;
    for (const QChar taken : value)
        if (taken == shown || taken.toUpper() == shown || taken.toLower() == shown)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string_view maskBytes = input.text();
    const std::string_view valueBytes = input.rest();
    const QString mask = QString::fromUtf8(maskBytes.data(), static_cast<qsizetype>(maskBytes.size()));
    const QString value = QString::fromUtf8(valueBytes.data(), static_cast<qsizetype>(valueBytes.size()));

    const host::EditMaskParts parts = host::SplitEditMask(mask);
    const QString shown = host::FormatMaskText(mask, value);
    const QString empty = host::FormatMaskText(mask, QString());
    FUZZ_CHECK(shown.size() == empty.size(), (mask + u" | "_s + value + u" -> "_s + shown).toStdString());
    for (const QChar c : shown)
        FUZZ_CHECK(comesFrom(c, mask, value, parts.blank),
                   (mask + u" | "_s + value + u" -> "_s + shown).toStdString());
    for (const QChar c : empty)
        FUZZ_CHECK(comesFrom(c, mask, QString(), parts.blank), (mask + u" -> "_s + empty).toStdString());
    // A letter as the blank would be case-converted when read back as a value; only a caseless
    // blank can be told from the value's own characters.
    if (parts.keepLiterals && parts.blank.toUpper() == parts.blank.toLower())
        FUZZ_CHECK(host::FormatMaskText(mask, shown) == shown,
                   (mask + u" | "_s + value + u" -> "_s + shown).toStdString());
    return 0;
}
