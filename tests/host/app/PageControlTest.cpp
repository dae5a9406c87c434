#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/app/TPageControl.h"
#include "host/app/TTabSheet.h"
#include "host/core/Refusal.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

struct PageForm {
    TForm* form = Application().CreateForm<TForm>();
    TPageControl* pages = new TPageControl(form, u"pgcPadrao"_s);
    QList<TTabSheet*> sheets;
    QList<QLineEdit*> edits;
    QStringList events;

    PageForm() {
        pages->SetBounds(0, 0, 500, 300);
        for (const QString& caption : {u"Serviços"_s, u"Frequência"_s, u"Restrição"_s, u"Limite"_s}) {
            auto* sheet = new TTabSheet(*pages, u"tsh"_s + caption, caption);
            auto* edit = new QLineEdit(sheet);
            sheet->OnEnter = [this, caption] { events.append(caption + u" entra"_s); };
            sheet->OnShow = [this, caption] { events.append(caption + u" à frente"_s); };
            sheets.append(sheet);
            edits.append(edit);
        }
        pages->OnChanging = [this](TPageControl& sender, bool& allow) {
            EXPECT_EQ(&sender, pages);
            events.append(u"mudando de "_s + sender.ActivePage()->Caption());
            allow = allowChange;
        };
        pages->OnChange = [this](TPageControl&) {
            events.append(u"mudou para "_s + pages->ActivePage()->Caption());
        };
        form->Show();
        QApplication::setActiveWindow(form);
        events.clear();
    }

    bool allowChange = true;
    QTabBar* bar() const { return pages->tabBar(); }
};

enum class Gesture { Mouse, ArrowKey, Wheel, CtrlTab };

// Each asks, as the user would, for the page after the first.
void askForSecond(PageForm& f, Gesture gesture) {
    switch (gesture) {
    case Gesture::Mouse:
        QTest::mouseClick(f.bar(), Qt::LeftButton, {}, f.bar()->tabRect(1).center());
        break;
    case Gesture::ArrowKey:
        f.bar()->setFocus();
        QTest::keyClick(f.bar(), Qt::Key_Right);
        break;
    case Gesture::Wheel: {
        const QPointF at = f.bar()->tabRect(0).center();
        QWheelEvent wheel(at, f.bar()->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.bar(), &wheel);
        break;
    }
    case Gesture::CtrlTab:
        f.edits[0]->setFocus();
        f.events.clear();
        QTest::keyClick(f.edits[0], Qt::Key_Tab, Qt::ControlModifier);
        break;
    }
}

class PageGesture : public ::testing::TestWithParam<Gesture> {};

} // namespace

TEST_P(PageGesture, AsksBeforeChangingAndTellsAfter) {
    GuiDialogSeam seam;
    PageForm f;
    askForSecond(f, GetParam());
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    ASSERT_GE(f.events.size(), 3);
    EXPECT_EQ(f.events.first(), u"mudando de Serviços"_s);
    EXPECT_TRUE(f.events.contains(u"Frequência à frente"_s));
    EXPECT_EQ(f.events.last(), u"mudou para Frequência"_s);
}

TEST_P(PageGesture, AClearedFlagKeepsThePage) {
    GuiDialogSeam seam;
    PageForm f;
    f.allowChange = false;
    askForSecond(f, GetParam());
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[0]);
    EXPECT_EQ(f.bar()->currentIndex(), 0) << "the tab row agrees";
    EXPECT_EQ(f.events, QStringList{u"mudando de Serviços"_s});
}

TEST_P(PageGesture, AFailingCheckKeepsThePageAndIsShownOnce) {
    GuiDialogSeam seam;
    PageForm f;
    f.pages->OnChanging = [](TPageControl&, bool&) { throw Refusal(u"Filial não cadastrada."_s); };
    askForSecond(f, GetParam());
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[0]);
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Filial não cadastrada."_s});
    EXPECT_FALSE(f.events.contains(u"Frequência à frente"_s));
}

INSTANTIATE_TEST_SUITE_P(Gestures, PageGesture,
                         ::testing::Values(Gesture::Mouse, Gesture::ArrowKey, Gesture::Wheel,
                                           Gesture::CtrlTab));

TEST(PageControl, CodeBringsAPageForwardWithoutAskingAndItsShowFailureReachesTheCode) {
    GuiDialogSeam seam;
    PageForm f;
    f.pages->SetActivePage(f.sheets[2]);
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[2]);
    EXPECT_EQ(f.events, QStringList{u"Restrição à frente"_s});
    f.pages->SetActivePage(f.sheets[2]);
    EXPECT_EQ(f.events.size(), 1) << "already in front";
    f.sheets[3]->OnShow = [] { throw Refusal(u"Analisando restrições contratuais..."_s); };
    EXPECT_THROW(f.pages->SetActivePage(f.sheets[3]), Refusal);
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
    EXPECT_THROW(f.pages->SetActivePage(nullptr), Refusal);
    TPageControl other(nullptr, u"pgcVerifica"_s);
    auto* foreign = new TTabSheet(other, u"tshOpcoes"_s, u"Opções"_s);
    EXPECT_THROW(f.pages->SetActivePage(foreign), Refusal);
    f.sheets[1]->SetTabVisible(false);
    EXPECT_THROW(f.pages->SetActivePage(f.sheets[1]), Refusal) << "a page without its tab";
}

TEST(PageControl, APageHasATabOnlyWhileBothSwitchesAreOn) {
    GuiDialogSeam seam;
    PageForm f;
    struct Row {
        bool tab, page;
    };
    for (const Row row : {Row{true, true}, Row{false, true}, Row{true, false}, Row{false, false}}) {
        TTabSheet* sheet = f.sheets[2];
        sheet->SetVisible(row.page);
        sheet->SetTabVisible(row.tab);
        EXPECT_EQ(sheet->Visible(), row.page);
        EXPECT_EQ(sheet->TabVisible(), row.tab);
        EXPECT_EQ(f.bar()->isTabVisible(2), row.tab && row.page) << row.tab << row.page;
        EXPECT_EQ(f.pages->GetPageCount(), 4) << "a hidden page keeps its place";
        EXPECT_EQ(f.pages->GetPage(2), sheet);
    }
    f.sheets[2]->SetVisible(true);
    f.sheets[2]->SetTabVisible(true);
    EXPECT_THROW(f.pages->GetPage(4), Refusal);
    EXPECT_THROW(f.pages->GetPage(-1), Refusal);
    f.sheets[1]->SetTabVisible(false);
    QTest::mouseClick(f.bar(), Qt::LeftButton, {}, f.bar()->tabRect(0).center());
    QTest::keyClick(f.bar(), Qt::Key_Right);
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[2]) << "the arrow skips the hidden tab";
    f.sheets[0]->SetCaption(u"Serviços (3)"_s);
    EXPECT_EQ(f.bar()->tabText(0), u"Serviços (3)"_s);
}

TEST(PageControl, HidingTheTabInFrontMovesThePageWithoutEnteringIt) {
    GuiDialogSeam seam;
    PageForm f;
    f.pages->SetActivePage(f.sheets[1]);
    f.edits[1]->setFocus();
    ASSERT_TRUE(f.edits[1]->hasFocus());
    f.events.clear();
    f.sheets[1]->SetVisible(false);
    f.sheets[1]->SetTabVisible(false);
    ASSERT_NE(f.pages->ActivePage(), f.sheets[1]);
    EXPECT_TRUE(f.events.isEmpty()) << f.events.join(u", "_s).toStdString();
    // The moves that follow are the user's again.
    f.sheets[1]->SetVisible(true);
    f.sheets[1]->SetTabVisible(true);
    const int from = f.pages->currentIndex();
    f.pages->SetActivePage(f.sheets[0]);
    EXPECT_EQ(f.events.last(), u"Serviços à frente"_s) << from;
    f.edits[0]->setFocus();
    EXPECT_TRUE(f.events.contains(u"Serviços entra"_s));
}
