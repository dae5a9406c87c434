#include "GuiTestSupport.h"

#include "host/app/BusyIndicator.h"
#include "host/app/ShowAvi.h"
#include "host/app/ShowAviGuard.h"
#include "host/app/TApplication.h"
#include "host/core/Refusal.h"

#include <QMainWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

bool indicatorOnScreen() {
    const BusyIndicator* indicator = ExistingBusyIndicator();
    return indicator && indicator->isVisible();
}

void loadThatFails() {
    ShowAviGuard busy(Application().MainForm(), 6, u"Carregando serviços..."_s);
    throw Refusal(u"servidor fora do ar"_s);
}

class ShowAvi : public ::testing::Test {
protected:
    void SetUp() override { Application().MainForm()->show(); }
    void TearDown() override {
        while (ShowAviDepth() > 0)
            DeactiveShowAvi();
    }
};

} // namespace

TEST_F(ShowAvi, KindZeroHasNoTextAndKindSixShowsItsCaption) {
    ActiveShowAvi(Application().MainForm(), 0);
    EXPECT_TRUE(indicatorOnScreen());
    EXPECT_EQ(ShowAviCaption(), QString());
    EXPECT_EQ(ExistingBusyIndicator()->kind(), 0);
    DeactiveShowAvi();
    EXPECT_FALSE(indicatorOnScreen());

    ActiveShowAvi(Application().MainForm(), 6, u"Analisando restrições contratuais..."_s);
    EXPECT_TRUE(indicatorOnScreen());
    EXPECT_EQ(ShowAviCaption(), u"Analisando restrições contratuais..."_s);
    EXPECT_FALSE(ExistingBusyIndicator()->isActiveWindow()) << "the indicator must not take the activation";
    DeactiveShowAvi();
    EXPECT_FALSE(indicatorOnScreen());
}

TEST_F(ShowAvi, NestedActivationsHideOnlyWithTheLastAndRestoreTheOuterText) {
    ActiveShowAvi(Application().MainForm(), 6, u"externo"_s);
    ActiveShowAvi(Application().MainForm(), 6, u"interno"_s);
    EXPECT_EQ(ShowAviDepth(), 2);
    EXPECT_EQ(ShowAviCaption(), u"interno"_s);
    DeactiveShowAvi();
    EXPECT_TRUE(indicatorOnScreen());
    EXPECT_EQ(ShowAviCaption(), u"externo"_s);
    DeactiveShowAvi();
    EXPECT_FALSE(indicatorOnScreen());
    DeactiveShowAvi();
    EXPECT_EQ(ShowAviDepth(), 0) << "a deactivation with nothing shown does nothing";
    ActiveShowAvi(Application().MainForm(), 0);
    EXPECT_TRUE(indicatorOnScreen()) << "a spare deactivation must not swallow the next activation";
}

TEST_F(ShowAvi, TheGuardHidesAlsoOnFailure) {
    EXPECT_THROW(loadThatFails(), Refusal);
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_FALSE(indicatorOnScreen());
}

TEST_F(ShowAvi, TheGuardsEarlyHideHappensOnce) {
    ActiveShowAvi(Application().MainForm(), 0);
    {
        ShowAviGuard busy(Application().MainForm(), 6, u"Carregando serviços..."_s);
        busy.Hide();
        EXPECT_EQ(ShowAviDepth(), 1);
    }
    EXPECT_EQ(ShowAviDepth(), 1) << "the outer activation is still open";
}

TEST_F(ShowAvi, TheIndicatorIsCentredOverTheMainForm) {
    QMainWindow* main = Application().MainForm();
    ActiveShowAvi(main, 6, u"Carregando serviços..."_s);
    const QRect over(main->mapToGlobal(QPoint(0, 0)), main->size());
    EXPECT_TRUE(over.contains(ExistingBusyIndicator()->geometry().center()));
    DeactiveShowAvi();
}
