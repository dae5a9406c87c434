#include "ModuleFixture.h"

#include "host/app/TApplication.h"
#include "host/app/TScreen.h"
#include "host/core/Refusal.h"

#include <QDate>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

QVariant address(bool* cell) {
    return QVariant::fromValue(static_cast<qint64>(reinterpret_cast<quintptr>(cell)));
}

QVariantList launch(const QString& mode, bool* cell = nullptr) {
    return {mode, u"0001"_s, u"00001"_s, 46082.0, address(cell)};
}

struct Refused {
    const char* name;
    QVariant value;
};

void PrintTo(const Refused& r, std::ostream* os) {
    *os << r.name;
}

} // namespace

// A launch value that cannot be read changes nothing: no variable, no form.
class RefusedLaunch : public ModuleTest, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedLaunch, StoresNothingAndCreatesNoForm) {
    bool cell = false;
    stCdFilial = u"ANTES"_s;
    stCdServico = u"ANTES"_s;
    dtMesCard = -1;
    boCalcula = true;
    PboClose = &cell;
    EXPECT_THROW(IniProc(GetParam().value), Refusal);
    EXPECT_EQ(stCdFilial, u"ANTES"_s);
    EXPECT_EQ(stCdServico, u"ANTES"_s);
    EXPECT_EQ(dtMesCard, -1);
    EXPECT_TRUE(boCalcula);
    EXPECT_EQ(PboClose, &cell);
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(frmAnalRestCont.isNull());
    EXPECT_TRUE(Application().Forms().isEmpty());
    EXPECT_EQ(Screen().Cursor(), TCursor::crDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Launch, RefusedLaunch,
    ::testing::Values(
        Refused{"not_an_array", QVariant(u"CALCULA"_s)}, Refused{"number", QVariant(5)},
        Refused{"empty_array", QVariantList{}},
        Refused{"four_elements", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, 46082.0}},
        Refused{"mode_is_a_list", QVariantList{QVariantList{1}, u"0001"_s, u"00001"_s, 46082.0, 0}},
        Refused{"branch_is_null", QVariantList{u"CALCULA"_s, QVariant(), u"00001"_s, 46082.0, 0}},
        Refused{"service_is_a_map",
                QVariantList{u"CALCULA"_s, u"0001"_s, QVariantMap{{u"a"_s, 1}}, 46082.0, 0}},
        Refused{"month_is_text", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, u"março"_s, 0}},
        Refused{"month_is_null", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, QVariant(), 0}},
        // Months the calendar cannot name never reach the server.
        Refused{"month_is_nan", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, std::nan(""), 0}},
        Refused{"month_before_year_1", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, -693594.0 - 31, 0}},
        Refused{"month_after_9999", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, 2958466.0 + 31, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

// An outcome that cannot be read fails after branch, service and month were stored, before the mode.
class RefusedOutcome : public ModuleTest, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedOutcome, StoresBranchServiceAndMonthButNotTheModeAndCreatesNoForm) {
    QVariantList value{u"CALCULA"_s, u"0001"_s, u"00001"_s, 46082.0, GetParam().value};
    EXPECT_THROW(IniProc(value), Refusal);
    EXPECT_EQ(stCdFilial, u"0001"_s);
    EXPECT_EQ(stCdServico, u"00001"_s);
    EXPECT_EQ(dtMesCard, 46082.0);
    EXPECT_FALSE(boCalcula);
    EXPECT_EQ(PboClose, nullptr);
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(Application().Forms().isEmpty());
    EXPECT_EQ(Screen().Cursor(), TCursor::crDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Launch, RefusedOutcome,
    ::testing::Values(Refused{"text", QVariant(u"abc"_s)}, Refused{"null", QVariant()},
                      Refused{"list", QVariantList{1}}, Refused{"fraction", QVariant(1.5)},
                      Refused{"nan", QVariant(std::nan(""))}, Refused{"infinite", QVariant(HUGE_VAL)},
                      Refused{"minus_infinite", QVariant(-HUGE_VAL)}, Refused{"past_2_63", QVariant(1e19)}),
    [](const auto& row) { return std::string(row.param.name); });

struct ModeCase {
    const char* name;
    QString mode;
    bool calcula;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.name;
}

// Every mode but "FORMULARIO" opens a child window; only "CALCULA", exactly, is calculation mode.
class ChildModes : public ModuleTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ChildModes, OpenAChildWindowWithoutMaximise) {
    // Not the value a calculation launch writes, so that a write shows.
    bool cell = true;
    IniProc(launch(GetParam().mode, &cell));
    EXPECT_EQ(boCalcula, GetParam().calcula);
    EXPECT_TRUE(boIdCriado);
    ASSERT_FALSE(frmAnalRestCont.isNull());
    EXPECT_EQ(stCdFilial, u"0001"_s);
    EXPECT_EQ(stCdServico, u"00001"_s);
    EXPECT_EQ(dtMesCard, 46082.0);
    EXPECT_EQ(PboClose, &cell);

    EXPECT_EQ(frmAnalRestCont->FormStyle(), TFormStyle::fsMDIChild);
    EXPECT_EQ(frmAnalRestCont->BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_EQ(frmAnalRestCont->BorderIcons(),
              TBorderIcons(TBorderIcon::biSystemMenu) | TBorderIcon::biMinimize);
    EXPECT_TRUE(frmAnalRestCont->Visible());
    EXPECT_FALSE(frmAnalRestCont->Modal());
    EXPECT_EQ(frmAnalRestCont->WindowState(), TWindowState::wsNormal);
    auto* frame = qobject_cast<QMdiSubWindow*>(frmAnalRestCont->FormWindow());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Screen().Cursor(), TCursor::crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    if (GetParam().calcula) {
        EXPECT_FALSE(cell) << "blocked until an analysis has judged the menu";
    } else {
        EXPECT_TRUE(cell) << "outside calculation mode launching writes no outcome";
    }
}

INSTANTIATE_TEST_SUITE_P(Launch, ChildModes,
                         ::testing::Values(ModeCase{"empty", QString(), false},
                                           ModeCase{"CALCULA", u"CALCULA"_s, true},
                                           ModeCase{"calcula_lower_case", u"calcula"_s, false},
                                           ModeCase{"Calcula_mixed_case", u"Calcula"_s, false},
                                           ModeCase{"formulario_lower_case", u"formulario"_s, false},
                                           ModeCase{"anything_else", u"CONSULTA"_s, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ModuleTest, ANullLaunchOpensAChildWithEmptyValuesAndNoOutcomeAddress) {
    for (const QVariant& none : {QVariant(), QVariant::fromValue(nullptr)}) {
        stCdFilial = u"X"_s;
        dtMesCard = 5;
        IniProc(none);
        EXPECT_TRUE(stCdFilial.isEmpty());
        EXPECT_TRUE(stCdServico.isEmpty());
        EXPECT_EQ(dtMesCard, 0);
        EXPECT_EQ(PboClose, nullptr);
        EXPECT_FALSE(boCalcula);
        ASSERT_FALSE(frmAnalRestCont.isNull());
        EXPECT_EQ(frmAnalRestCont->FormStyle(), TFormStyle::fsMDIChild);
        frmAnalRestCont->Close();
        GuiDrain();
    }
}

TEST_F(ModuleTest, LaunchElementsAreConvertedByKind) {
    struct Case {
        QVariant month, outcome;
        double days;
    };
    bool cell = false;
    const Case cases[] = {
        {QDate(2026, 3, 1), address(&cell), 46082.0},
        {QDateTime(QDate(2026, 3, 1), QTime(12, 0)), address(&cell), 46082.5},
        {u"46082.5"_s, QVariant::fromValue(static_cast<quint64>(reinterpret_cast<quintptr>(&cell))), 46082.5},
        {46082, QString::number(static_cast<qint64>(reinterpret_cast<quintptr>(&cell))), 46082.0},
        {46082.25, QVariant::fromValue(reinterpret_cast<quintptr>(&cell)), 46082.25},
    };
    for (const Case& c : cases) {
        IniProc(QVariantList{u"X"_s, 1, u"00001"_s, c.month, c.outcome});
        EXPECT_EQ(dtMesCard, c.days);
        EXPECT_EQ(PboClose, &cell);
        EXPECT_EQ(stCdFilial, u"1"_s);
    }
    EXPECT_EQ(Application().Forms().size(), 1) << "later launches only show the form again";
}

TEST_F(ModuleTest, ASecondLaunchNeitherRecreatesNorRestylesNorReactivates) {
    bool first = false, second = false;
    IniProc(launch(u"CALCULA"_s, &first));
    GuiDrain();
    TfrmAnalRestCont* form = frmAnalRestCont;
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->FirstActivationPending());
    form->SetWindowState(TWindowState::wsMinimized);

    IniProc(QVariantList{u"FORMULARIO"_s, u"0002"_s, u"00009"_s, 46100.0, address(&second)});
    EXPECT_EQ(frmAnalRestCont, form);
    EXPECT_EQ(Application().Forms().size(), 1);
    EXPECT_EQ(form->FormStyle(), TFormStyle::fsMDIChild);
    EXPECT_EQ(form->BorderStyle(), TBorderStyle::bsSingle);
    EXPECT_FALSE(form->Modal());
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal) << "a minimised child is restored";
    EXPECT_EQ(stCdFilial, u"0002"_s) << "the new values are stored all the same";
    EXPECT_EQ(stCdServico, u"00009"_s);
    EXPECT_EQ(dtMesCard, 46100.0);
    EXPECT_FALSE(boCalcula);
    EXPECT_EQ(PboClose, &second);
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
}

TEST_F(ModuleTest, DialogModeReturnsOnlyAfterTheCloseWithTheFormGone) {
    struct Seen {
        bool modal = false, visible = false, hourglass = false, dialogBorder = false, normalStyle = false;
    } seen;
    QPointer<TfrmAnalRestCont> form;
    QTimer::singleShot(0, [&] {
        form = frmAnalRestCont;
        ASSERT_FALSE(form.isNull());
        seen = {form->Modal(), form->Visible(), Screen().Cursor() == TCursor::crHourGlass,
                form->BorderStyle() == TBorderStyle::bsDialog, form->FormStyle() == TFormStyle::fsNormal};
        // A mark that a launch still reaching for the closed dialog would wipe out.
        form->SetWindowState(TWindowState::wsMinimized);
        form->Close();
    });
    IniProc(launch(u"FORMULARIO"_s));
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.visible);
    EXPECT_TRUE(seen.hourglass) << "the hourglass stays while the dialog is open";
    EXPECT_TRUE(seen.dialogBorder);
    EXPECT_TRUE(seen.normalStyle);
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(frmAnalRestCont.isNull());
    EXPECT_EQ(Screen().Cursor(), TCursor::crDefault);
    ASSERT_FALSE(form.isNull()) << "released, freed on the next turn";
    EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized) << "nothing touched the closed dialog";
    GuiDrain();
    EXPECT_TRUE(form.isNull()) << "the closed dialog is freed";
}

TEST_F(ModuleTest, DialogModeDoesNotTouchADialogDestroyedWhileOpen) {
    QTimer::singleShot(0, [] {
        TfrmAnalRestCont* form = frmAnalRestCont;
        form->Close();
        // Gone at once instead of on the next turn: the launch must not reach for it afterwards.
        std::unique_ptr<TfrmAnalRestCont> destroyed(form);
    });
    EXPECT_NO_THROW(IniProc(launch(u"FORMULARIO"_s)));
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(Application().Forms().isEmpty());
}

TEST_F(ModuleTest, AfterACloseTheNextLaunchCreatesAFreshFormWithEveryFlagSet) {
    IniProc(QVariant());
    GuiDrain();
    QPointer<TfrmAnalRestCont> old = frmAnalRestCont.data();
    for (bool* flag : reloadFlags())
        *flag = false;
    old->Close();
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(frmAnalRestCont.isNull()) << "the module keeps no reference to a closed form";
    GuiDrain();
    EXPECT_TRUE(old.isNull());

    IniProc(QVariant());
    ASSERT_FALSE(frmAnalRestCont.isNull());
    EXPECT_TRUE(boIdCriado);
    EXPECT_TRUE(frmAnalRestCont->FirstActivationPending());
    for (bool* flag : reloadFlags())
        EXPECT_TRUE(*flag);
    GuiDrain();
    EXPECT_FALSE(frmAnalRestCont->FirstActivationPending()) << "the first activation has begun";
}

TEST_F(ModuleTest, TheOutcomeIsWrittenOnlyThroughANonZeroAddress) {
    struct Case {
        bool withCell;
        bool value;
    };
    for (const Case c : {Case{true, true}, Case{true, false}, Case{false, true}, Case{false, false}}) {
        bool cell = !c.value;
        QVariantList value = launch(u"CALCULA"_s, c.withCell ? &cell : nullptr);
        IniProc(value);
        EXPECT_EQ(PboClose, c.withCell ? &cell : nullptr);
        EXPECT_NO_FATAL_FAILURE(WriteCallerOutcome(c.value));
        EXPECT_EQ(cell, c.withCell ? c.value : !c.value);
    }
}
