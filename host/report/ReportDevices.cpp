#include "host/report/ReportDevices.h"

#include "host/app/Dispatch.h"
#include "host/app/TApplication.h"
#include "host/core/Refusal.h"
#include "host/report/ReportFolders.h"
#include "host/report/TReportTable.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace host {

namespace {

bool headless() {
    return QGuiApplication::platformName() == u"offscreen"_s ||
           QGuiApplication::platformName() == u"minimal"_s;
}

QString writeToPrintFolder(const TReportTable& table) {
    const QString folder = ReportPrintFolder();
    if (!QDir().mkpath(folder))
        throw Refusal(u"Não foi possível criar a pasta '%1' para o relatório."_s.arg(folder));
    const QString path = PrintFilePath(folder, table.Title);
    table.WritePdf(path);
    return path;
}

class SystemReportDevices : public ReportDevices {
public:
    void print(const TReportTable& table) override {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (printer.isNull() || headless()) {
            TellReportWritten(u"Não há impressora disponível."_s, writeToPrintFolder(table));
            return;
        }
        QPrinter device(printer, QPrinter::HighResolution);
        device.setDocName(table.Title);
        table.Paint(device);
        if (device.printerState() == QPrinter::Error)
            throw Refusal(
                u"A impressora '%1' recusou o relatório '%2'."_s.arg(printer.printerName(), table.Title));
    }

    void preview(const TReportTable& table) override {
        // No one can look at a preview window nobody sees: the file stands in for it.
        if (headless()) {
            TellReportWritten(u"Não há tela para a visualização."_s, writeToPrintFolder(table));
            return;
        }
        QPrinter device(QPrinter::HighResolution);
        device.setDocName(table.Title);
        QPrintPreviewDialog dialog(&device, Application().MainForm());
        dialog.setWindowTitle(table.Title);
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                         [&table](QPrinter* target) { Dispatch([&] { table.Paint(*target); }); });
        dialog.exec();
    }
};

std::unique_ptr<ReportDevices>& current() {
    static std::unique_ptr<ReportDevices> devices = std::make_unique<SystemReportDevices>();
    return devices;
}

} // namespace

void TellReportWritten(const QString& why, const QString& path) {
    const QString where = u"O relatório foi gravado em '%1'."_s.arg(QDir::toNativeSeparators(path));
    Application().dialogs().messageDlg(why.isEmpty() ? where : why + u' ' + where, TMsgDlgType::mtInformation,
                                       TMsgDlgBtn::mbOK, 0);
}

ReportDevices& reportDevices() {
    return *current();
}

std::unique_ptr<ReportDevices> setReportDevices(std::unique_ptr<ReportDevices> devices) {
    std::unique_ptr<ReportDevices> previous = std::move(current());
    current() = devices ? std::move(devices) : std::make_unique<SystemReportDevices>();
    return previous;
}

QString PrintFilePath(const QString& folder, const QString& title) {
    QString base = title;
    base.replace(QRegularExpression(u"[^\\w\\- ]"_s, QRegularExpression::UseUnicodePropertiesOption), u"_"_s);
    base = base.simplified().replace(u' ', u'_');
    if (base.isEmpty())
        base = u"relatorio"_s;
    const QString stamp = QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    const QDir dir(folder);
    QString path = dir.absoluteFilePath(u"%1_%2.pdf"_s.arg(base, stamp));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.absoluteFilePath(u"%1_%2_%3.pdf"_s.arg(base, stamp).arg(n));
    return path;
}

} // namespace host
