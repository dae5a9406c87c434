#include "host/edit/TMaskEdit.h"

#include "host/format/Formatting.h"

using namespace Qt::StringLiterals;

namespace host {

namespace {

// The host's mask letters in Qt's notation: "a" (letter or digit, optional) is Qt's "n", the
// letters are Qt's "a"/"A", and the two digit letters are swapped.
QChar qtInputChar(QChar c) {
    switch (c.unicode()) {
    case u'a':
        return u'n';
    case u'A':
        return u'N';
    case u'l':
        return u'a';
    case u'L':
        return u'A';
    case u'9':
        return u'0';
    case u'0':
        return u'9';
    default:
        return {};
    }
}

struct Layout {
    QString qtMask;
    QList<bool> inputSlot;
};

Layout layoutOf(const EditMaskParts& parts) {
    Layout layout;
    const QString& body = parts.body;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u'>') {
            layout.qtMask += u'>';
            continue;
        }
        if (c == u'<') {
            if (i + 1 < body.size() && body.at(i + 1) == u'>') {
                ++i;
                layout.qtMask += u'!';
            } else {
                layout.qtMask += u'<';
            }
            continue;
        }
        if (const QChar input = qtInputChar(c); !input.isNull()) {
            layout.qtMask += input;
            layout.inputSlot << true;
            continue;
        }
        const QChar literal = (c == u'\\' && i + 1 < body.size()) ? body.at(++i) : c;
        // Escaped always: a literal of ours may be a letter Qt reads as an input position.
        layout.qtMask += u'\\';
        layout.qtMask += literal;
        layout.inputSlot << false;
    }
    if (!layout.inputSlot.isEmpty())
        layout.qtMask += u';' + QString(parts.blank);
    return layout;
}

} // namespace

TMaskEdit::TMaskEdit(QWidget* parent, const QString& name) : TEdit(parent, name) {}

void TMaskEdit::SetEditMask(const QString& mask) {
    const QString value = Text();
    editMask_ = mask;
    const EditMaskParts parts = SplitEditMask(mask);
    keepLiterals_ = parts.keepLiterals;
    blank_ = parts.blank;
    const Layout layout = layoutOf(parts);
    inputSlot_ = layout.inputSlot;
    replaceQuietly(QString());
    setInputMask(layout.qtMask);
    if (!inputSlot_.isEmpty())
        replaceQuietly(FormatMaskText(editMask_, value));
    else
        replaceQuietly(value);
    cursorAfterValue();
}

QString TMaskEdit::Text() const {
    if (inputSlot_.isEmpty())
        return text();
    const QString shown = displayText();
    QString value;
    for (qsizetype i = 0; i < shown.size() && i < inputSlot_.size(); ++i) {
        if (!inputSlot_.at(i) && !keepLiterals_)
            continue;
        const QChar c = shown.at(i);
        value += (inputSlot_.at(i) && c == blank_) ? QChar(u' ') : c;
    }
    while (value.endsWith(u' '))
        value.chop(1);
    return value;
}

void TMaskEdit::SetText(const QString& text) {
    if (inputSlot_.isEmpty()) {
        TEdit::SetText(text);
        return;
    }
    const QString before = Text();
    // A value without its literals is laid out by the mask; Qt then reads the literals in place.
    replaceQuietly(FormatMaskText(editMask_, text));
    cursorAfterValue();
    if (Text() != before)
        raiseChange();
}

void TMaskEdit::cursorAfterValue() {
    const QString shown = displayText();
    int after = 0;
    for (qsizetype i = 0; i < shown.size() && i < inputSlot_.size(); ++i)
        if (inputSlot_.at(i) && shown.at(i) != blank_)
            after = static_cast<int>(i) + 1;
    setCursorPosition(after);
}

} // namespace host
