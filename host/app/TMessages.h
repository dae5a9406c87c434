#pragma once

#include "host/app/Dialogs.h"

#include <QObject>
#include <QStringList>

namespace host {

// A form's keyed texts: one "key|text" line per message. Screens never write a message as a literal;
// they look it up here.
class TMessages : public QObject {
    Q_OBJECT
public:
    TMessages(QObject* owner, const QString& name);

    // The message lines, "key|text" each; the text is everything after the first bar.
    QStringList Messages;

    // The text of a key, compared exactly. A key the table lacks is a fault of the screen and is
    // refused, naming the key, rather than shown as an empty message.
    QString Msg(const QString& key) const;
    bool HasKey(const QString& key) const;
    // Shows the keyed text in a message dialog and answers the button pressed.
    TModalResult ShowMsg(const QString& key, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) const;
};

} // namespace host
