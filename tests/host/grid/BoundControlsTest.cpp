#include "GridFixture.h"

#include "host/core/Refusal.h"
#include "host/grid/TDBNavigator.h"
#include "host/grid/TDBText.h"
#include "host/grid/WindowUpdateLock.h"

#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

struct NavigatorFixture : GridFixture {
    TDBNavigator* navigator = new TDBNavigator(form, u"dbnPadrao"_s);
    TDBText* text = new TDBText(form, u"dbtNome"_s);
    NavigatorFixture() {
        navigator->SetDataSource(source.get());
        navigator->SetBounds(0, 170, 120, 25);
        text->SetDataSource(source.get());
        text->SetDataField(u"NMSERVICO"_s);
    }
    void press(TNavigateBtn button) { QTest::mouseClick(navigator->Button(button), Qt::LeftButton); }
    std::vector<bool> enabled() const {
        return {
            navigator->ButtonEnabled(TNavigateBtn::nbFirst), navigator->ButtonEnabled(TNavigateBtn::nbPrior),
            navigator->ButtonEnabled(TNavigateBtn::nbNext), navigator->ButtonEnabled(TNavigateBtn::nbLast)};
    }
};

} // namespace

TEST(DBNavigator, ButtonsMoveTheSetAndAreEnabledWhereTheyCanGo) {
    NavigatorFixture f;
    EXPECT_EQ(f.enabled(), (std::vector<bool>{false, false, false, false})) << "nothing loaded";
    f.loadThree();
    EXPECT_EQ(f.enabled(), (std::vector<bool>{false, false, true, true}));
    f.press(TNavigateBtn::nbNext);
    EXPECT_EQ(f.set->RecNo(), 2);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, true, true, true}));
    f.press(TNavigateBtn::nbLast);
    EXPECT_EQ(f.set->RecNo(), 3);
    EXPECT_EQ(f.enabled(), (std::vector<bool>{true, true, false, false}));
    f.press(TNavigateBtn::nbPrior);
    f.press(TNavigateBtn::nbFirst);
    EXPECT_EQ(f.set->RecNo(), 1);
    EXPECT_EQ(f.log, (QStringList{u"scroll 2"_s, u"scroll 3"_s, u"scroll 2"_s, u"scroll 1"_s}));
    EXPECT_EQ(f.grid->currentIndex().row(), 0) << "the grid over the same source follows";
}

TEST(DBNavigator, AFailingMoveFromAButtonIsReportedAndFromCodeReachesTheCaller) {
    NavigatorFixture f;
    f.loadThree();
    f.set->AfterScroll = [](TClientDataSet&) { throw Refusal(u"sem detalhe"_s); };
    f.press(TNavigateBtn::nbNext);
    EXPECT_EQ(f.seam.recorder().errors, QStringList{u"sem detalhe"_s});
    EXPECT_THROW(f.navigator->BtnClick(TNavigateBtn::nbLast), Refusal);
}

TEST(DBNavigator, OnlyTheVisibleButtonsShow) {
    NavigatorFixture f;
    f.navigator->SetVisibleButtons(TNavigateButtons(TNavigateBtn::nbPrior) | TNavigateBtn::nbNext);
    f.navigator->SetFlat(true);
    EXPECT_TRUE(f.navigator->Button(TNavigateBtn::nbFirst)->isHidden());
    EXPECT_FALSE(f.navigator->Button(TNavigateBtn::nbNext)->isHidden());
    EXPECT_TRUE(f.navigator->Button(TNavigateBtn::nbNext)->autoRaise());
}

TEST(DBText, ShowsTheFieldOfTheCurrentRowAndFollowsMovesEditsAndLoads) {
    NavigatorFixture f;
    EXPECT_EQ(f.text->Caption(), QString());
    f.loadThree();
    EXPECT_EQ(f.text->Caption(), u"Almoço"_s);
    f.set->Last();
    EXPECT_EQ(f.text->Caption(), u"Ceia"_s);
    f.set->Edit();
    f.set->FieldByName(u"NMSERVICO"_s).SetAsString(u"Ceia tardia"_s);
    EXPECT_EQ(f.text->Caption(), u"Ceia tardia"_s) << "an edit shows before it is posted";
    f.set->Post();
    f.set->EmptyDataSet();
    EXPECT_EQ(f.text->Caption(), QString());
    f.text->SetDataField(u"NAOEXISTE"_s);
    f.loadThree();
    EXPECT_EQ(f.text->Caption(), QString()) << "no such field";
    f.text->SetDataField(u"CDSERVFILI"_s);
    EXPECT_EQ(f.text->Caption(), u"001"_s);
    f.source.reset();
    EXPECT_EQ(f.text->Caption(), QString()) << "the source is gone";
}

TEST(DBText, FollowsOnceWhenControlsAreEnabledAgain) {
    NavigatorFixture f;
    f.loadThree();
    f.set->DisableControls();
    f.set->Last();
    EXPECT_EQ(f.text->Caption(), u"Almoço"_s) << "detached controls do not follow";
    f.set->EnableControls();
    EXPECT_EQ(f.text->Caption(), u"Ceia"_s);
    EXPECT_EQ(f.grid->currentIndex().row(), 2);
}

TEST(LockWindowUpdate, FreezesPaintingUntilTheLastNestedLockEnds) {
    QWidget window;
    {
        const LockWindowUpdate outer(window);
        EXPECT_FALSE(window.updatesEnabled());
        {
            const LockWindowUpdate inner(window);
            EXPECT_TRUE(LockWindowUpdate::Locked(window));
        }
        EXPECT_FALSE(window.updatesEnabled()) << "the outer lock still holds";
    }
    EXPECT_TRUE(window.updatesEnabled());
    EXPECT_FALSE(LockWindowUpdate::Locked(window));

    window.setUpdatesEnabled(false);
    { const LockWindowUpdate lock(window); }
    EXPECT_FALSE(window.updatesEnabled()) << "painting comes back as it was before";
}

TEST(LockWindowUpdate, ReleasesAlsoOnFailureAndOutlivesItsWidget) {
    QWidget window;
    try {
        const LockWindowUpdate lock(window);
        throw Refusal(u"falha"_s);
    } catch (const Refusal&) {
    }
    EXPECT_TRUE(window.updatesEnabled());
    auto* doomed = new QWidget;
    const LockWindowUpdate lock(*doomed);
    delete doomed;
}
