#include "host/core/Consiste.h"

#include "host/core/Refusal.h"

namespace host {

void MensErro(const QString& text, bool) {
    throw Refusal(text);
}

QString Ajusta(const QString& code, int width) {
    const QString trimmed = code.trimmed();
    if (trimmed.isEmpty() || trimmed.size() >= width)
        return trimmed;
    bool digits = true;
    for (const QChar c : trimmed)
        digits = digits && c.isDigit();
    return digits ? trimmed.rightJustified(width, u'0') : trimmed;
}

QString AllTrim(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

bool EmptyString(const QString& text) {
    return AllTrim(text).isEmpty();
}

} // namespace host
