#include "host/report/TReportDefinition.h"

#include "host/core/Refusal.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace host {

QString TReportDefinition::FileName(const QString& screen, const QString& code) {
    return u"%1_%2.json"_s.arg(screen, code);
}

TReportDefinition TReportDefinition::Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Refusal(u"Não foi possível ler a definição de relatório '%1'."_s.arg(path));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw Refusal(
            u"A definição de relatório '%1' está mal formada: %2."_s.arg(path, error.errorString()));
    const QJsonObject object = document.object();
    TReportDefinition definition;
    definition.Screen = object.value(u"screen"_s).toString();
    definition.Code = object.value(u"code"_s).toString();
    definition.Title = object.value(u"title"_s).toString();
    definition.Query = object.value(u"query"_s).toString();
    for (const QJsonValue& value : object.value(u"columns"_s).toArray()) {
        const QJsonObject column = value.toObject();
        definition.Columns.append({column.value(u"field"_s).toString(), column.value(u"title"_s).toString()});
    }
    if (definition.Screen.isEmpty() || definition.Code.isEmpty())
        throw Refusal(u"A definição de relatório '%1' não diz a que tela e código pertence."_s.arg(path));
    return definition;
}

void TReportDefinition::Save(const QString& path) const {
    QJsonArray columns;
    for (const TReportColumn& column : Columns)
        columns.append(QJsonObject{{u"field"_s, column.FieldName}, {u"title"_s, column.Title}});
    const QJsonObject object{{u"screen"_s, Screen},
                             {u"code"_s, Code},
                             {u"title"_s, Title},
                             {u"query"_s, Query},
                             {u"columns"_s, columns}};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(object).toJson()) < 0 || !file.commit())
        throw Refusal(
            u"Não foi possível gravar a definição de relatório '%1': %2"_s.arg(path, file.errorString()));
}

void TReportDefinition::CheckComplete() const {
    if (Title.trimmed().isEmpty())
        throw Refusal(u"O relatório deve ter um título."_s);
    if (Query.trimmed().isEmpty())
        throw Refusal(u"O relatório '%1' deve ter uma consulta."_s.arg(Title));
    if (Columns.isEmpty())
        throw Refusal(u"O relatório '%1' deve ter ao menos uma coluna."_s.arg(Title));
    for (qsizetype i = 0; i < Columns.size(); ++i)
        if (Columns.at(i).FieldName.trimmed().isEmpty())
            throw Refusal(
                u"A coluna %1 do relatório '%2' não diz qual campo imprime."_s.arg(i + 1).arg(Title));
}

} // namespace host
