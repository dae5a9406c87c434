#include "ScreenReportFixture.h"

#include "host/grid/TDBGrid.h"
#include "host/report/ReportFolders.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

TEST_F(ScreenReportTest, ASavedPdfStartsInTheDocumentsHeadsEveryPageAndSaysWhereItWent) {
    mark({u"002"_s, u"004"_s});
    form->cmbRelatorio->setCurrentIndex(0);
    const QString path = folders.file(u"cardapio.pdf"_s);
    seam.recorder().saveAnswer = path;
    form->sbtSalvarComoClick();
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();

    ASSERT_EQ(seam.recorder().saveInitialPaths.size(), 1);
    EXPECT_TRUE(seam.recorder().saveInitialPaths[0].startsWith(UserDocumentsFolder() + u'/'))
        << seam.recorder().saveInitialPaths[0].toStdString();
    ASSERT_FALSE(seam.recorder().messages.empty());
    EXPECT_EQ(seam.recorder().messages.back().text, u"O relatório foi gravado em '%1'."_s.arg(path));

    // pdftotext ends every page with a form feed.
    const QStringList pages = pdfText(path).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2) << "two services' month of menus fill more than a page";
    for (int i = 0; i < pages.size(); ++i) {
        const QString& page = pages[i];
        for (const QString& expected :
             {u"Filial: 0001 - "_s, u"Serviços: 002 - "_s, u", 004 - "_s, u"Mês: 03/2026"_s,
              u"Operador: DEMO"_s, u"Impresso em: "_s, u"página %1 de %2"_s.arg(i + 1).arg(pages.size())})
            EXPECT_TRUE(page.contains(expected)) << "page " << i + 1 << ": " << expected.toStdString() << "\n"
                                                 << page.toStdString();
    }
}

TEST_F(ScreenReportTest, CtrlPPrintsAndCtrlShiftPPreviewsTheSameHeadedReport) {
    mark({u"002"_s});
    form->dbgServico->setFocus();
    QTest::keyClick(form->dbgServico, Qt::Key_P, Qt::ControlModifier);
    GuiDrain();
    ASSERT_EQ(devices.devices().printed.size(), 1u) << seam.recorder().lastError().toStdString();
    EXPECT_TRUE(devices.devices().previewed.empty());
    QTest::keyClick(form->dbgServico, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    GuiDrain();
    ASSERT_EQ(devices.devices().previewed.size(), 1u);
    const TReportTable& printed = devices.devices().printed[0];
    const TReportTable& previewed = devices.devices().previewed[0];
    EXPECT_EQ(previewed.Rows, printed.Rows);
    ASSERT_GE(printed.HeaderLines.size(), 5);
    EXPECT_EQ(printed.HeaderLines.mid(0, 4), previewed.HeaderLines.mid(0, 4));
    EXPECT_TRUE(printed.HeaderLines.contains(u"Operador: DEMO"_s));
}

} // namespace
