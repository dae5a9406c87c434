#include "shell/RunRequirements.h"

#include "shell/ShellOptions.h"

#include "host/context/FormatSettings.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"

using namespace Qt::StringLiterals;

namespace shell {

namespace {

bool blank(const std::optional<QString>& text) {
    return !text || text->trimmed().isEmpty();
}

bool blankKey(const QString& key) {
    return host::OperatorContext::instance().value(key).trimmed().isEmpty();
}

[[noreturn]] void missing(const QString& what, const QString& option, const QString& key) {
    throw host::Refusal(u"Falta %1: informe %2 ou a chave %3 nas configurações."_s.arg(what, option, key));
}

} // namespace

void checkRunRequirements(const ShellOptions& options) {
    (void)host::FormatSettings();
    (void)host::WebPort();
    (void)host::ServerTimeoutMs();
    if (!options.calculation())
        return;
    if (blankKey(host::keys::kDatabasePath))
        missing(u"o banco de dados local"_s, u"--database ARQUIVO"_s, host::keys::kDatabasePath);
    if (blankKey(host::keys::kOperatorCode))
        missing(u"o operador"_s, u"--operator CÓDIGO"_s, host::keys::kOperatorCode);
    // An empty launch branch means the operator's processing branch.
    if (blank(options.filial) && blankKey(host::keys::kOperatorBranch))
        missing(u"a filial"_s, u"--filial CÓDIGO, --operator-branch CÓDIGO"_s, host::keys::kOperatorBranch);
    if (blank(options.servico))
        throw host::Refusal(u"Falta o serviço do cálculo: informe --servico CÓDIGO."_s);
    if (!options.mes)
        throw host::Refusal(u"Falta o mês do cálculo: informe --mes AAAA-MM-DD."_s);
}

} // namespace shell
