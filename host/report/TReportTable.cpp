#include "host/report/TReportTable.h"

#include "host/core/Refusal.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TField.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace host {

TReportTable TReportTable::From(const TReportDefinition& definition, const TClientDataSet& data) {
    TReportTable table;
    table.Title = definition.Title;
    std::vector<int> fields;
    for (const TReportColumn& column : definition.Columns) {
        const TField* field = data.FindField(column.FieldName);
        if (field == nullptr)
            throw Refusal(u"O relatório '%1' imprime o campo '%2', que a sua consulta não traz."_s.arg(
                definition.Title, column.FieldName));
        for (int i = 0; i < data.FieldCount(); ++i)
            if (&data.Fields(i) == field)
                fields.push_back(i);
        table.Headers.append(column.Title.isEmpty() ? column.FieldName : column.Title);
        table.Alignments.push_back(field->Alignment);
    }
    for (int row = 0; row < data.RecordCount(); ++row) {
        QStringList cells;
        for (const int field : fields)
            cells.append(data.DisplayTextAt(row, field));
        table.Rows.push_back(std::move(cells));
    }
    return table;
}

std::unique_ptr<QTextDocument> TReportTable::Document() const {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    QTextCharFormat titleFormat;
    titleFormat.setFontPointSize(14);
    titleFormat.setFontWeight(QFont::Bold);
    cursor.insertText(Title, titleFormat);
    cursor.insertBlock();
    if (Headers.isEmpty())
        return document;

    QTextTableFormat tableFormat;
    tableFormat.setCellPadding(3);
    tableFormat.setCellSpacing(0);
    tableFormat.setBorder(0.5);
    tableFormat.setHeaderRowCount(1);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable* grid =
        cursor.insertTable(static_cast<int>(Rows.size()) + 1, static_cast<int>(Headers.size()), tableFormat);
    QTextCharFormat headerFormat;
    headerFormat.setFontWeight(QFont::Bold);
    const auto cell = [&](int row, int column) {
        QTextCursor at = grid->cellAt(row, column).firstCursorPosition();
        if (static_cast<std::size_t>(column) < Alignments.size()) {
            QTextBlockFormat block;
            block.setAlignment(QtAlignment(Alignments[static_cast<std::size_t>(column)]) &
                               Qt::AlignHorizontal_Mask);
            at.setBlockFormat(block);
        }
        return at;
    };
    for (int c = 0; c < Headers.size(); ++c)
        cell(0, c).insertText(Headers.at(c), headerFormat);
    for (std::size_t r = 0; r < Rows.size(); ++r)
        for (int c = 0; c < Headers.size() && c < Rows[r].size(); ++c)
            cell(static_cast<int>(r) + 1, c).insertText(Rows[r].at(c));
    return document;
}

QByteArray TReportTable::Csv() const {
    const auto field = [](const QString& text) {
        if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
            return text;
        QString quoted = text;
        quoted.replace(u"\""_s, u"\"\""_s);
        return u"\"%1\""_s.arg(quoted);
    };
    const auto line = [&](const QStringList& cells) {
        QStringList out;
        for (const QString& cell : cells)
            out.append(field(cell));
        return out.join(u';') + u"\r\n"_s;
    };
    QString text = line(Headers);
    for (const QStringList& row : Rows)
        text += line(row);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

void TReportTable::WritePdf(const QString& path) const {
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw Refusal(
                u"Não foi possível gravar o relatório em '%1': %2"_s.arg(path, probe.errorString()));
    }
    QPdfWriter writer(path);
    writer.setTitle(Title);
    writer.setCreator(u"restcont"_s);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(Headers.size() > 5 ? QPageLayout::Landscape : QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    Document()->print(&writer);
}

} // namespace host
