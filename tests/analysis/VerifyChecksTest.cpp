#include "OwnDatabaseFixture.h"

#include "host/app/TPageControl.h"
#include "host/app/TSpeedButton.h"
#include "host/app/TTabSheet.h"
#include "host/edit/TDateEditPlus.h"
#include "host/grid/TDBGrid.h"

#include <QApplication>
#include <QTest>

namespace {

struct Selection {
    const char* name;
    bool month;
    bool option;
    bool marked;
    const char* message;
    const char* focus;     // the control the user is sent to
    const char* outerPage; // the page of pgcVerifica then shown
    const char* innerPage; // and of pgcPadrao; null when it does not matter
    const char* startPage; // where the user pressed verify from
};

void PrintTo(const Selection& s, std::ostream* os) {
    *os << s.name;
}

// The verify button's checks come in the order month, options, services: with several things
// missing the first of them is reported, the user is sent to its control, and nothing is asked of the
// server.
class VerifyChecks : public OwnDatabaseScreenTest, public ::testing::WithParamInterface<Selection> {
protected:
    static void SetUpTestSuite() {
        startOver(infringingServiceSql("A01", "Almoço", {}) + infringingServiceSql("A02", "Jantar", {}));
    }
    QWidget* control(const char* name) const { return form->findChild<QWidget*>(QLatin1StringView(name)); }
};

TEST_P(VerifyChecks, TheFirstMissingThingIsReportedWithItsControlInFront) {
    const Selection& s = GetParam();
    form = launch(QString(), u"0001"_s, QString(), 0);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    if (!s.month)
        form->depMes->SetText(QString());
    form->chbRestProd->SetChecked(s.option);
    if (s.marked) {
        form->cdsServico.Last();
        form->cdsServico.Edit();
        form->cdsServico.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
        form->cdsServico.Post();
    }
    form->pgcVerifica->SetActivePage(form->FindPage(QLatin1StringView(s.startPage)));
    GuiDrain();
    QApplication::setActiveWindow(Application().MainForm());
    form->activateWindow();
    QWidget* start = s.startPage == std::string("tshOpcoes") ? static_cast<QWidget*>(form->chbRestProd)
                                                             : static_cast<QWidget*>(form->dbgServico);
    start->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), start);
    for (bool* flag : reloadFlags())
        *flag = false;
    methodsCalled();

    // As the user presses it: the refusal goes to the host's error display.
    QTest::mouseClick(form->sbtVerificar, Qt::LeftButton);

    EXPECT_EQ(seam.recorder().lastError(), QString::fromUtf8(s.message));
    EXPECT_EQ(form->pgcVerifica->ActivePage(), form->FindPage(QLatin1StringView(s.outerPage)));
    if (s.innerPage) {
        EXPECT_EQ(form->pgcPadrao->ActivePage(), form->FindPage(QLatin1StringView(s.innerPage)));
    }
    QWidget* focused = QApplication::focusWidget();
    QWidget* expected = control(s.focus);
    ASSERT_NE(expected, nullptr) << s.focus;
    EXPECT_TRUE(focused && (focused == expected || expected->isAncestorOf(focused)))
        << "focus on " << (focused ? focused->objectName().toStdString() : "nothing");
    EXPECT_TRUE(methodsCalled().isEmpty());
    for (bool* flag : reloadFlags())
        EXPECT_FALSE(*flag) << "refused before any flag is set";
}

INSTANTIATE_TEST_SUITE_P(
    Verify, VerifyChecks,
    ::testing::Values(Selection{"nothing_given", false, false, false, "Data deve ser informada.", "depMes",
                                "tshOpcoes", nullptr, "tshOpcoes"},
                      Selection{"only_the_month_missing", false, true, true, "Data deve ser informada.",
                                "depMes", "tshOpcoes", nullptr, "tshOpcoes"},
                      Selection{"no_option_no_service", true, false, false,
                                "Opção de restrição deve ser informada para cálculo.", "chbFreqPrat",
                                "tshOpcoes", nullptr, "tshVerificar"},
                      Selection{"no_option", true, false, true,
                                "Opção de restrição deve ser informada para cálculo.", "chbFreqPrat",
                                "tshOpcoes", nullptr, "tshVerificar"},
                      Selection{"no_service", true, true, false, "Serviço deve ser selecionado.",
                                "dbgServico", "tshVerificar", "tshServicos", "tshOpcoes"}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
