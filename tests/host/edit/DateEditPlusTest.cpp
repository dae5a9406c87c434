#include "GuiTestSupport.h"
#include "RefusalOf.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/core/Refusal.h"
#include "host/edit/TDateEditPlus.h"
#include "host/edit/TEdit.h"
#include "protocol/DateTime.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

double day(int year, int month, int d) {
    return proto::fromCivil(proto::CivilDateTime{year, month, d}).days;
}

struct MonthForm {
    TForm* form = Application().CreateForm<TForm>();
    TDateEditPlus* mes = new TDateEditPlus(form, u"depMes"_s);
    TEdit* after = new TEdit(form, u"edtDepois"_s);
    QStringList seen;

    MonthForm() {
        mes->SetBounds(8, 8, 90, 21);
        after->SetBounds(8, 40, 90, 21);
        mes->SetShowDia(false);
        mes->SetEditStyle(TDateEditStyle::desUpDown);
        mes->SaveTime = false;
        mes->OnChange = [this] { seen << mes->Text(); };
        form->Show();
        QApplication::setActiveWindow(form);
        mes->setFocus();
    }
};

} // namespace

TEST(DateEditPlus, UpAndDownStepTheMonthAcrossYears) {
    GuiDialogSeam seam;
    MonthForm f;
    f.mes->SetText(u"12/2025"_s);
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), u"01/2026"_s);
    QTest::keyClick(f.mes, Qt::Key_Down);
    QTest::keyClick(f.mes, Qt::Key_Down);
    EXPECT_EQ(f.mes->Text(), u"11/2025"_s);
    EXPECT_EQ(f.seen, (QStringList{u"12/2025"_s, u"01/2026"_s, u"12/2025"_s, u"11/2025"_s}));

    f.mes->SetText(u"01/2026"_s);
    f.mes->stepBy(-13);
    EXPECT_EQ(f.mes->Text(), u"12/2024"_s);
}

TEST(DateEditPlus, NothingStepsWithoutAMonthOrOutsideTheUpDownStyle) {
    GuiDialogSeam seam;
    MonthForm f;
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), QString()) << "an empty entry stays empty";
    f.mes->SetText(u"13/2026"_s);
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), u"13/2026"_s) << "an invalid month is not guessed at";
    f.mes->SetText(u"03/2026"_s);
    f.mes->SetEditStyle(TDateEditStyle::desNormal);
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), u"03/2026"_s);
}

TEST(DateEditPlus, TheFirstAndLastDayFollowTheLeapYears) {
    GuiDialogSeam seam;
    MonthForm f;
    struct Case {
        QString text;
        int year, month, last;
    };
    const Case cases[] = {
        {u"02/2024"_s, 2024, 2, 29}, {u"02/2023"_s, 2023, 2, 28},  {u"02/2000"_s, 2000, 2, 29},
        {u"02/1900"_s, 1900, 2, 28}, {u"12/2026"_s, 2026, 12, 31}, {u"4/2026"_s, 2026, 4, 30},
    };
    for (const Case& c : cases) {
        f.mes->SetText(c.text);
        EXPECT_EQ(f.mes->GetPrimDia(), day(c.year, c.month, 1)) << c.text.toStdString();
        EXPECT_EQ(f.mes->GetUltDia(), day(c.year, c.month, c.last)) << c.text.toStdString();
    }
}

TEST(DateEditPlus, AnInvalidMonthIsRefusedAndAnEmptyOneIsLeftAlone) {
    GuiDialogSeam seam;
    MonthForm f;
    for (const QString& text : {u"13/2026"_s, u"00/2026"_s, u"3/26"_s, u"03"_s, u"03/"_s, u"/2026"_s}) {
        f.mes->SetText(text);
        f.after->setFocus();
        const QString message = refusalOf([&] { f.mes->CheckValidDate(); });
        EXPECT_TRUE(message.startsWith(u"Mês inválido"_s)) << message.toStdString();
        EXPECT_TRUE(message.contains(text)) << message.toStdString();
        EXPECT_EQ(QApplication::focusWidget(), f.mes) << "focus back on the month";
        EXPECT_THROW(f.mes->GetPrimDia(), Refusal) << text.toStdString();
        EXPECT_THROW(f.mes->GetUltDia(), Refusal) << text.toStdString();
    }
    for (const QString& text : {QString(), u"   "_s}) {
        f.mes->SetText(text);
        EXPECT_NO_THROW(f.mes->CheckValidDate());
        EXPECT_EQ(f.mes->Text(), QString());
        EXPECT_THROW(f.mes->GetPrimDia(), Refusal) << "an empty entry has no first day";
    }
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST(DateEditPlus, TypingKeepsTheShapeOfAMonthAndColoursAValidOne) {
    GuiDialogSeam seam;
    MonthForm f;
    f.mes->SetValidDateColor(QColor(0, 0, 255));
    QTest::keyClicks(f.mes, u"0a3/20x26"_s);
    EXPECT_EQ(f.mes->Text(), u"03/2026"_s);
    const auto* line = f.mes->findChild<QLineEdit*>();
    EXPECT_EQ(line->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 255));
    QTest::keyClick(f.mes, Qt::Key_Backspace);
    EXPECT_NE(line->palette().color(QPalette::Active, QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(f.seen.size(), 8) << "every key the shape accepts is a change";
}

TEST(DateEditPlus, SetDateShowsTheMonthAndDropsTheTimeUnlessAskedToKeepIt) {
    GuiDialogSeam seam;
    MonthForm f;
    f.mes->SetDate(day(2026, 3, 17) + 0.75);
    EXPECT_EQ(f.mes->Text(), u"03/2026"_s);
    EXPECT_EQ(f.mes->Date(), day(2026, 3, 1));

    f.mes->SetShowDia(true);
    f.mes->SaveTime = true;
    f.mes->SetNomeSemana(
        {u"Domingo"_s, u"Segunda"_s, u"Terça"_s, u"Quarta"_s, u"Quinta"_s, u"Sexta"_s, u"Sábado"_s});
    f.mes->SetDate(day(2026, 3, 17) + 0.75);
    EXPECT_EQ(f.mes->Text(), u"17/03/2026"_s);
    EXPECT_EQ(f.mes->Date(), day(2026, 3, 17) + 0.75);
    EXPECT_EQ(f.mes->toolTip(), u"Terça"_s);
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), u"18/03/2026"_s) << "with the day shown, the day steps";

    f.mes->SetShowDia(false);
    EXPECT_EQ(f.mes->Text(), u"03/2026"_s) << "the month of the date entered stays";
    EXPECT_THROW(f.mes->SetNomeSemana({u"Domingo"_s}), std::invalid_argument);
}

TEST(DateEditPlus, AFailingChangeHandlerReachesTheCodeButNotTheKeys) {
    GuiDialogSeam seam;
    MonthForm f;
    f.mes->SetText(u"03/2026"_s);
    f.mes->OnChange = [] { throw Refusal(u"Data deve ser informada."_s); };
    EXPECT_THROW(f.mes->SetText(u"04/2026"_s), Refusal);
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
    QTest::keyClick(f.mes, Qt::Key_Up);
    EXPECT_EQ(f.mes->Text(), u"05/2026"_s);
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Data deve ser informada."_s});
}
