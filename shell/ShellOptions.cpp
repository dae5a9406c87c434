#include "shell/ShellOptions.h"

#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "protocol/DateTime.h"
#include "protocol/HostPort.h"

#include <QDir>

#include <functional>
#include <stdexcept>
#include <vector>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

const QString kCalcula = u"CALCULA"_s;

struct Option {
    QString name;
    QString valueName; // empty for a switch
    QString description;
    std::function<void(ShellOptions&, const QString&)> apply;
};

double parseMonth(const QString& text) {
    const std::optional<proto::DateTime> date =
        text.size() == 10 ? proto::parseDateTime(text.toStdString()) : std::nullopt;
    if (!date)
        throw host::Refusal(
            u"Data inválida em --mes: '%1' (use AAAA-MM-DD, por exemplo 2026-03-01)."_s.arg(text));
    return date->days;
}

void parseServer(ShellOptions& options, const QString& text) {
    try {
        const proto::HostPort address = proto::parseHostPort(text.toStdString());
        options.serverHost = QString::fromStdString(address.host);
        options.serverPort = address.port;
    } catch (const std::invalid_argument& error) {
        throw host::Refusal(u"Servidor inválido em --server: %1"_s.arg(QString::fromUtf8(error.what())));
    }
}

const QString kQtMessages = u"--qt-messages"_s;

// The mode is compared exactly: "calcula" would open the screen as a child window and end with 0, which a
// calling script reads as a clear menu.
void parseMode(ShellOptions& options, const QString& text) {
    if (text != kCalcula && text.compare(kCalcula, Qt::CaseInsensitive) == 0)
        throw host::Refusal(
            u"Modo inválido em --mode: '%1'. O modo de cálculo se escreve CALCULA, em maiúsculas."_s.arg(
                text));
    options.mode = text;
}

struct Key {
    const QString& name;
    QString description;
};

const std::vector<Key>& keyTable() {
    using namespace host::keys;
    static const std::vector<Key> keys{
        {kDatabasePath, u"banco de dados local (relativo ao arquivo de configuração); --database"_s},
        {kServerHost, u"máquina do servidor de aplicação (padrão 127.0.0.1); --server"_s},
        {kServerPort, u"porta do servidor de aplicação (padrão 60251); --server"_s},
        {kServerTimeoutMs, u"tempo máximo de uma chamada ao servidor, em ms (padrão 30000)"_s},
        {kServerCancelAfterMs, u"espera até a tela oferecer Cancelar, em ms (padrão 1000)"_s},
        {kServerSecretFile, u"arquivo com a chave de acesso ao servidor (opcional); --secret-file"_s},
        {kOperatorCode, u"código do operador; --operator"_s},
        {kOperatorBranch, u"filial de processamento do operador; --operator-branch"_s},
        {kOperatorBranchLocked, u"true quando o operador fica restrito à sua filial"_s},
        {kMaskKind0, u"máscara dos códigos de produto e de prato per capita"_s},
        {kMaskKind1, u"máscara dos códigos de prato"_s},
        {kReportsFolder, u"pasta das definições de relatório"_s},
        {kReportsStandardFolder, u"pasta dos relatórios padrão"_s},
        {kReportsPrintFolder, u"pasta onde os relatórios impressos em arquivo são gravados"_s},
        {kFormatLocale, u"formato de datas e números (padrão pt_BR), qualquer que seja o LANG da máquina"_s},
    };
    return keys;
}

const std::vector<Option>& table() {
    static const std::vector<Option> options{
        {u"--help"_s,
         {},
         u"mostra esta ajuda e termina"_s,
         [](ShellOptions& o, const QString&) { o.help = true; }},
        {kQtMessages,
         {},
         u"mostra na saída de erros as mensagens de depuração e os avisos do próprio Qt"_s,
         [](ShellOptions& o, const QString&) { o.qtMessages = true; }},
        {u"--settings"_s, u"ARQUIVO"_s,
         u"arquivo de configuração (INI); padrão: ../demo/restcont.ini a partir da pasta do executável, "
         u"dispensável quando as opções bastam"_s,
         [](ShellOptions& o, const QString& v) {
             o.settingsFile = v;
             o.settingsGiven = true;
         }},
        {u"--package"_s, u"ARQUIVO"_s,
         u"pacote da tela; padrão: ../lib/libPkg_kdr60251.so a partir da pasta do executável"_s,
         [](ShellOptions& o, const QString& v) { o.packageFile = v; }},
        {u"--mode"_s, u"MODO"_s,
         u"modo de abertura: CALCULA (cálculo), FORMULARIO (diálogo modal) ou outro (janela filha)"_s,
         parseMode},
        {u"--filial"_s, u"CÓDIGO"_s, u"filial de lançamento (vazia: a filial de processamento do operador)"_s,
         [](ShellOptions& o, const QString& v) { o.filial = v; }},
        {u"--servico"_s, u"CÓDIGO"_s, u"serviço de lançamento, marcado na lista de serviços"_s,
         [](ShellOptions& o, const QString& v) { o.servico = v; }},
        {u"--mes"_s, u"AAAA-MM-DD"_s, u"um dia do mês do cardápio"_s,
         [](ShellOptions& o, const QString& v) { o.mes = parseMonth(v); }},
        {u"--database"_s, u"ARQUIVO"_s, u"banco de dados local; substitui database/path"_s,
         [](ShellOptions& o, const QString& v) { o.database = v; }},
        {u"--server"_s, u"MÁQUINA:PORTA"_s, u"servidor de aplicação; substitui server/host e server/port"_s,
         parseServer},
        {u"--operator"_s, u"CÓDIGO"_s, u"operador; substitui operator/code"_s,
         [](ShellOptions& o, const QString& v) { o.operatorCode = v; }},
        {u"--operator-branch"_s, u"CÓDIGO"_s,
         u"filial de processamento do operador; substitui operator/branch"_s,
         [](ShellOptions& o, const QString& v) { o.operatorBranch = v; }},
        {u"--secret-file"_s, u"ARQUIVO"_s,
         u"arquivo com a chave de acesso ao servidor; substitui server/secret_file"_s,
         [](ShellOptions& o, const QString& v) { o.secretFile = v; }},
        {u"--screenshot"_s, u"ARQUIVO"_s,
         u"grava uma imagem PNG da tela depois da sua primeira ativação e termina"_s,
         [](ShellOptions& o, const QString& v) { o.screenshot = v; }},
    };
    return options;
}

const Option* find(const QString& name) {
    for (const Option& option : table())
        if (option.name == name)
            return &option;
    return nullptr;
}

} // namespace

ShellOptions parseShellOptions(const QStringList& arguments, const QString& executableFolder) {
    ShellOptions options;
    const QDir folder(executableFolder);
    options.settingsFile = QDir::cleanPath(folder.filePath(u"../demo/restcont.ini"_s));
    options.packageFile = QDir::cleanPath(folder.filePath(u"../lib/libPkg_kdr60251.so"_s));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> inlineValue;
        if (const qsizetype equals = name.indexOf(u'='); name.startsWith(u"--"_s) && equals > 0) {
            inlineValue = name.mid(equals + 1);
            name = name.left(equals);
        }
        const Option* option = find(name);
        if (!option)
            throw host::Refusal(u"Opção desconhecida: '%1'."_s.arg(arguments[i]));
        if (option->valueName.isEmpty()) {
            if (inlineValue)
                throw host::Refusal(u"A opção %1 não aceita valor."_s.arg(name));
            option->apply(options, QString());
            continue;
        }
        QString value;
        if (inlineValue)
            value = *inlineValue;
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        else
            throw host::Refusal(u"Falta o valor da opção %1 (%2)."_s.arg(name, option->valueName));
        option->apply(options, value);
    }
    return options;
}

QVariant launchValue(const ShellOptions& options, bool* outcomeCell) {
    if (!options.launchGiven())
        return QVariant();
    return QVariantList{options.mode.value_or(QString()), options.filial.value_or(QString()),
                        options.servico.value_or(QString()), options.mes.value_or(0.0),
                        QVariant::fromValue(static_cast<qint64>(reinterpret_cast<quintptr>(outcomeCell)))};
}

QString helpText() {
    QString text = u"Uso: restcont-host [opções]\n\n"
                   u"Abre a tela Análise de Restrições Contratuais dentro do host. Sem nenhuma das opções "
                   u"--mode, --filial, --servico e --mes, a tela abre com o valor de lançamento nulo.\n"
                   u"Sem display (QT_QPA_PLATFORM=offscreen ou sem DISPLAY) os diálogos são escritos na "
                   u"saída e o host termina depois da primeira ativação da tela.\n\nOpções:\n"_s;
    for (const Option& option : table()) {
        const QString head = option.valueName.isEmpty() ? option.name : option.name + u' ' + option.valueName;
        text += u"  %1\n      %2\n"_s.arg(head, option.description);
    }
    text += u"\nChaves do arquivo de configuração:\n"_s;
    for (const Key& key : keyTable())
        text += u"  %1 %2\n"_s.arg(key.name.leftJustified(22), key.description);
    text += u"\nSaída:\n"
            u"  0  sucesso; no modo CALCULA, cardápio liberado (nenhuma restrição contratual infringida)\n"
            u"  1  modo CALCULA: operação bloqueada (o cardápio infringiu as restrições contratuais)\n"
            u"  2  opção inválida, configuração ilegível ou incompleta, pacote que não carrega, valor de "
            u"lançamento recusado ou, no modo CALCULA, análise não concluída (cardápio não julgado)\n"_s;
    return text;
}

bool wantsQtMessages(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (QString::fromLocal8Bit(argv[i]) == kQtMessages)
            return true;
    return false;
}

} // namespace shell
