#include "ScreenFixture.h"

#include "results/OutcomeText.h"

#include "host/app/TApplication.h"
#include "host/app/TLabel.h"
#include "host/app/TTabSheet.h"

using namespace Qt::StringLiterals;
using namespace host;
using results::CategoryOutcome;

namespace {

struct OutcomeCase {
    const char* name;
    bool hasService;
    bool marked;
    std::vector<CategoryOutcome> categories;
    const char16_t* expected;
};

class OutcomeTextTest : public ::testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeTextTest, SaysWhatTheAnalysisFoundAndNeverReadsCleanWithoutAnalysis) {
    const OutcomeCase& c = GetParam();
    EXPECT_EQ(results::OutcomeText(c.hasService, c.marked, c.categories), QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, OutcomeTextTest,
    ::testing::Values(
        OutcomeCase{"NoServiceList", false, false, {{u"A"_s, true, 2}}, u""},
        OutcomeCase{"Unmarked", true, false, {{u"A"_s, true, 2}}, u"Serviço não analisado (não marcado)"},
        OutcomeCase{"NothingAnalysedYet", true, true, {{u"A"_s, false, 0}, {u"B"_s, false, 3}}, u""},
        OutcomeCase{"Clean", true, true, {{u"A"_s, true, 0}, {u"B"_s, true, 0}}, u"Nenhuma infração"},
        OutcomeCase{"OneInfringed",
                    true,
                    true,
                    {{u"A"_s, true, 0}, {u"B"_s, true, 4}},
                    u"1 categoria com infrações: B"},
        OutcomeCase{"SeveralInOrder",
                    true,
                    true,
                    {{u"A"_s, true, 1}, {u"B"_s, true, 0}, {u"C"_s, true, 9}},
                    u"2 categorias com infrações: A, C"},
        OutcomeCase{"CleanSoFar",
                    true,
                    true,
                    {{u"A"_s, true, 0}, {u"B"_s, false, 0}},
                    u"Nenhuma infração nas categorias analisadas; 1 categoria ainda não analisada"},
        OutcomeCase{"InfringedAndPending",
                    true,
                    true,
                    {{u"A"_s, true, 1}, {u"B"_s, false, 0}, {u"C"_s, false, 0}},
                    u"1 categoria com infrações: A; 2 categorias ainda não analisadas"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// The status line and the tab icons after real runs over the demo month.
class OutcomeAtAGlance : public AnalysisScreenTest {
protected:
    QString status() {
        GuiDrain();
        return form->lblSituacao->Caption();
    }
    // The result tabs that carry an icon, by name.
    QStringList flagged() {
        QStringList names;
        for (int i = 1; i < form->pgcPadrao->GetPageCount(); ++i)
            if (!form->pgcPadrao->GetPage(i)->Icon().isNull())
                names << form->pgcPadrao->GetPage(i)->Name();
        return names;
    }
};

TEST_F(OutcomeAtAGlance, TheStatusLineAndTheTabIconsFollowTheCurrentService) {
    form = launch(u""_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    checkAll();
    QStringList captions;
    for (int i = 0; i < form->pgcPadrao->GetPageCount(); ++i)
        captions << form->pgcPadrao->GetPage(i)->Caption();
    EXPECT_EQ(status(), QString()) << "nothing analysed yet";

    form->sbtVerificarClick();
    ASSERT_TRUE(seam.recorder().errors.isEmpty()) << seam.recorder().lastError().toStdString();
    EXPECT_EQ(status(), u"1 categoria com infrações: %1"_s.arg(form->tshLimNutri->Caption()));
    EXPECT_EQ(flagged(), QStringList{u"tshLimNutri"_s});
    for (int i = 0; i < form->pgcPadrao->GetPageCount(); ++i)
        EXPECT_EQ(form->pgcPadrao->GetPage(i)->Caption(), captions[i]) << "captions stay as they are";

    // Another service, not marked: nothing about it is known, so nothing may read clean or flagged.
    ASSERT_TRUE(form->cdsServico.Locate(u"CDSERVFILI"_s, u"003"_s));
    EXPECT_EQ(status(), u"Serviço não analisado (não marcado)"_s);
    EXPECT_TRUE(flagged().isEmpty());
}

TEST_F(OutcomeAtAGlance, ACleanServiceSaysSoAndAnInfringingOneNamesEveryCategory) {
    form = launch(u""_s, u"0001"_s, u"003"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkAll();
    form->sbtVerificarClick();
    EXPECT_EQ(status(), u"Nenhuma infração"_s);
    EXPECT_TRUE(flagged().isEmpty());
    form->Close();
    GuiDrain();

    form = launch(u""_s, u"0001"_s, u"002"_s, day(2026, 3, 1));
    ASSERT_NE(form, nullptr);
    checkAll();
    form->sbtVerificarClick();
    const QString text = status();
    EXPECT_TRUE(text.startsWith(u"11 categorias com infrações: "_s)) << text.toStdString();
    EXPECT_EQ(flagged().size(), 11);
    // Unchecking a box takes its category out of the outcome and its icon off.
    form->chbLimNutri->SetChecked(false);
    EXPECT_TRUE(status().startsWith(u"10 categorias com infrações: "_s));
    EXPECT_FALSE(flagged().contains(u"tshLimNutri"_s));
}

// Whoever waits for the activation reads the screen as soon as it is told, before the event loop
// turns again: the status line already holds the calculation's outcome then.
TEST_F(OutcomeAtAGlance, TheStatusLineIsSetWhenTheActivationIsReported) {
    QStringList seen;
    const QMetaObject::Connection watch =
        QObject::connect(&Application(), &TApplication::formActivated, [&seen](TForm* activated, bool) {
            if (auto* screen = qobject_cast<TfrmAnalRestCont*>(activated))
                seen << screen->lblSituacao->Caption();
        });
    form = launch(u"CALCULA"_s, u"0001"_s, u"004"_s, day(2026, 3, 1));
    QObject::disconnect(watch);
    ASSERT_NE(form, nullptr);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.first(), u"1 categoria com infrações: %1"_s.arg(form->tshLimNutri->Caption()));
}

} // namespace
