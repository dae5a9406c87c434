#include "shell/ShellOptions.h"

#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

#include <QDir>

#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace shell {

namespace {

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
    const qsizetype colon = text.lastIndexOf(u':');
    bool ok = false;
    const int port = colon > 0 ? text.mid(colon + 1).toInt(&ok) : 0;
    if (colon <= 0 || !ok || port < 1 || port > 65535)
        throw host::Refusal(
            u"Servidor inválido em --server: '%1' (use MÁQUINA:PORTA, por exemplo 127.0.0.1:60251)."_s.arg(
                text));
    options.serverHost = text.left(colon);
    options.serverPort = port;
}

const std::vector<Option>& table() {
    static const std::vector<Option> options{
        {u"--help"_s,
         {},
         u"mostra esta ajuda e termina"_s,
         [](ShellOptions& o, const QString&) { o.help = true; }},
        {u"--settings"_s, u"ARQUIVO"_s,
         u"arquivo de configuração (INI); padrão: ../demo/restcont.ini a partir da pasta do executável"_s,
         [](ShellOptions& o, const QString& v) { o.settingsFile = v; }},
        {u"--package"_s, u"ARQUIVO"_s,
         u"pacote da tela; padrão: ../lib/libPkg_kdr60251.so a partir da pasta do executável"_s,
         [](ShellOptions& o, const QString& v) { o.packageFile = v; }},
        {u"--mode"_s, u"MODO"_s,
         u"modo de abertura: CALCULA (cálculo), FORMULARIO (diálogo modal) ou outro (janela filha)"_s,
         [](ShellOptions& o, const QString& v) { o.mode = v; }},
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
    text += u"\nChaves do arquivo de configuração:\n"
            u"  database/path          banco de dados local (relativo ao arquivo de configuração)\n"
            u"  server/host            máquina do servidor de aplicação (padrão 127.0.0.1)\n"
            u"  server/port            porta do servidor de aplicação (padrão 60251)\n"
            u"  server/timeout_ms      tempo máximo de uma chamada ao servidor, em ms (padrão 30000)\n"
            u"  server/cancel_after_ms espera até a tela oferecer Cancelar, em ms (padrão 1000)\n"
            u"  server/secret_file     arquivo com a chave de acesso ao servidor (opcional)\n"
            u"  operator/code          código do operador\n"
            u"  operator/branch        filial de processamento do operador\n"
            u"  operator/branch_locked true quando o operador fica restrito à sua filial\n"
            u"  masks/kind0            máscara dos códigos de produto e de prato per capita\n"
            u"  masks/kind1            máscara dos códigos de prato\n"
            u"  reports/folder         pasta das definições de relatório\n\n"
            u"Saída: 0 em caso de sucesso; 2 para opção inválida, configuração ilegível, pacote que não "
            u"carrega ou valor de lançamento recusado.\n"_s;
    return text;
}

} // namespace shell
