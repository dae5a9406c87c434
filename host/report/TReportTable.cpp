#include "host/report/TReportTable.h"

#include "host/core/Refusal.h"
#include "host/data/TClientDataSet.h"
#include "host/data/TField.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

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

namespace {

void insertTitle(QTextCursor& cursor, const QString& title) {
    QTextCharFormat titleFormat;
    titleFormat.setFontPointSize(14);
    titleFormat.setFontWeight(QFont::Bold);
    cursor.insertText(title, titleFormat);
    cursor.insertBlock();
}

void insertTable(QTextCursor& cursor, const QStringList& headers, const std::vector<QStringList>& rows,
                 const std::vector<TAlignment>& alignments) {
    if (headers.isEmpty())
        return;

    QTextTableFormat tableFormat;
    tableFormat.setCellPadding(3);
    tableFormat.setCellSpacing(0);
    tableFormat.setBorder(0.5);
    tableFormat.setHeaderRowCount(1);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QTextTable* grid =
        cursor.insertTable(static_cast<int>(rows.size()) + 1, static_cast<int>(headers.size()), tableFormat);
    QTextCharFormat headerFormat;
    headerFormat.setFontWeight(QFont::Bold);
    const auto cell = [&](int row, int column) {
        QTextCursor at = grid->cellAt(row, column).firstCursorPosition();
        if (static_cast<std::size_t>(column) < alignments.size()) {
            QTextBlockFormat block;
            block.setAlignment(QtAlignment(alignments[static_cast<std::size_t>(column)]) &
                               Qt::AlignHorizontal_Mask);
            at.setBlockFormat(block);
        }
        return at;
    };
    for (int c = 0; c < headers.size(); ++c)
        cell(0, c).insertText(headers.at(c), headerFormat);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < headers.size() && c < rows[r].size(); ++c)
            cell(static_cast<int>(r) + 1, c).insertText(rows[r].at(c));
}

// A document laid out for the device's resolution and a given width.
void fitTo(QTextDocument& document, QPagedPaintDevice& device, qreal width) {
    document.documentLayout()->setPaintDevice(&device);
    document.setTextWidth(width);
}

} // namespace

std::unique_ptr<QTextDocument> TReportTable::Document() const {
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    insertTitle(cursor, Title);
    insertTable(cursor, Headers, Rows, Alignments);
    return document;
}

void TReportTable::Paint(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device))
        throw Refusal(u"Não foi possível iniciar a impressão do relatório '%1'."_s.arg(Title));
    // The painter's origin is the top left corner inside the margins.
    const QSizeF area = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();

    QTextDocument header;
    {
        QTextCursor cursor(&header);
        insertTitle(cursor, Title);
        QTextCharFormat lineFormat;
        lineFormat.setFontPointSize(9);
        for (const QString& line : HeaderLines) {
            cursor.insertText(line, lineFormat);
            cursor.insertBlock();
        }
    }
    fitTo(header, device, area.width());
    const auto footer = [&](int page, int pages) {
        auto foot = std::make_unique<QTextDocument>();
        QTextCursor cursor(foot.get());
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        cursor.setBlockFormat(right);
        QTextCharFormat footFormat;
        footFormat.setFontPointSize(8);
        cursor.insertText(u"página %1 de %2"_s.arg(page).arg(pages), footFormat);
        fitTo(*foot, device, area.width());
        return foot;
    };
    const qreal headerHeight = header.size().height();
    const qreal footerHeight = footer(1, 1)->size().height();

    QTextDocument body;
    {
        QTextCursor cursor(&body);
        insertTable(cursor, Headers, Rows, Alignments);
    }
    fitTo(body, device, area.width());
    const qreal bodyHeight = std::max<qreal>(area.height() - headerHeight - footerHeight, area.height() / 4);
    body.setPageSize(QSizeF(area.width(), bodyHeight));
    const int pages = std::max(1, body.pageCount());

    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage())
            throw Refusal(
                u"Não foi possível iniciar a página %1 do relatório '%2'."_s.arg(page + 1).arg(Title));
        header.drawContents(&painter);
        painter.save();
        painter.translate(0, headerHeight - page * bodyHeight);
        body.drawContents(&painter, QRectF(0, page * bodyHeight, area.width(), bodyHeight));
        painter.restore();

        painter.save();
        painter.translate(0, area.height() - footerHeight);
        footer(page + 1, pages)->drawContents(&painter);
        painter.restore();
    }
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
    Paint(writer);
}

} // namespace host
