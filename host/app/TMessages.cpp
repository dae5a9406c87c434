#include "host/app/TMessages.h"

#include "host/app/TApplication.h"
#include "host/core/Refusal.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace host {

namespace {

std::optional<QString> lookup(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        const qsizetype bar = line.indexOf(u'|');
        if (bar >= 0 && QStringView(line).left(bar) == key)
            return line.mid(bar + 1);
    }
    return std::nullopt;
}

} // namespace

TMessages::TMessages(QObject* owner, const QString& name) : QObject(owner) {
    setObjectName(name);
}

QString TMessages::Msg(const QString& key) const {
    if (const auto text = lookup(Messages, key))
        return *text;
    throw Refusal(u"Mensagem '%1' não encontrada na tabela de mensagens '%2'."_s.arg(key, objectName()));
}

bool TMessages::HasKey(const QString& key) const {
    return lookup(Messages, key).has_value();
}

TModalResult TMessages::ShowMsg(const QString& key, TMsgDlgType type, TMsgDlgButtons buttons,
                                int helpContext) const {
    return Application().dialogs().messageDlg(Msg(key), type, buttons, helpContext);
}

} // namespace host
