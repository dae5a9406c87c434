#include "GuiTestSupport.h"

#include "host/app/Dispatch.h"
#include "host/app/TApplication.h"
#include "host/app/TSpeedButton.h"
#include "host/core/Refusal.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;
using host::Dispatch;
using host::Refusal;

namespace {

struct ThrowingDisplay : ErrorRecorder {
    void showError(const QString&) override { throw std::runtime_error("display broken"); }
};

} // namespace

TEST(DispatchBoundary, EachKindOfFailureReachesTheDisplayAndNothingEscapes) {
    struct Case {
        std::function<void()> action;
        QString expected;
    };
    const std::vector<Case> cases{
        {[] { throw Refusal(u"Filial não cadastrada."_s); }, u"Filial não cadastrada."_s},
        {[] { throw std::runtime_error("disco cheio"); }, u"Erro inesperado: disco cheio"_s},
        {[] { throw 42; }, u"Erro inesperado de causa desconhecida."_s},
    };
    for (const Case& c : cases) {
        GuiDialogSeam seam;
        bool ran = true;
        EXPECT_NO_THROW(ran = Dispatch(c.action));
        EXPECT_FALSE(ran);
        ASSERT_EQ(seam.recorder().errors.size(), 1);
        EXPECT_EQ(seam.recorder().lastError(), c.expected);
    }
}

TEST(DispatchBoundary, ASuccessfulActionShowsNothing) {
    GuiDialogSeam seam;
    int calls = 0;
    EXPECT_TRUE(Dispatch([&] { ++calls; }));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST(DispatchBoundary, AFailingDisplayDoesNotLetTheFailureEscape) {
    GuiDialogSeam seam;
    auto previous = host::Application().setDialogs(std::make_unique<ThrowingDisplay>());
    EXPECT_NO_THROW(Dispatch([] { throw Refusal(u"x"_s); }));
    host::Application().setDialogs(std::move(previous));
}

TEST(DispatchBoundary, AUserClickGoesThroughTheBoundaryAndACodeClickPropagates) {
    GuiDialogSeam seam;
    QWidget window;
    auto* button = new host::TSpeedButton(&window, u"sbtTeste"_s, u"Teste"_s);
    button->SetBounds(0, 0, 60, 24);
    button->OnClick = [] { throw Refusal(u"Serviço deve ser selecionado."_s); };
    window.show();

    EXPECT_NO_THROW(QTest::mouseClick(button, Qt::LeftButton));
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Serviço deve ser selecionado."_s});

    EXPECT_THROW(button->Click(), Refusal);
    EXPECT_EQ(seam.recorder().errors.size(), 1) << "a pressed-in-code button is not shown at the boundary";
}
