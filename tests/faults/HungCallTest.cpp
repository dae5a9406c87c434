#include "FaultyFront.h"
#include "ScreenFaultFixture.h"

#include "host/app/BusyIndicator.h"
#include "host/grid/TDBGrid.h"

#include <QPushButton>
#include <QTimer>

namespace {

// A server that takes a call and never answers it. The time-out is far off, so only Cancelar can
// end the wait; Cancelar is offered after a fifth of a second.
class HungCall : public ScreenFaults {
protected:
    void SetUp() override {
        ScreenFaults::SetUp();
        useServer(front.port(), 60000);
        OperatorContext::instance().set(keys::kServerCancelAfterMs, u"200"_s);
    }

    // Runs `act` from inside the wait, once Cancelar is offered.
    void whenCancelOffered(const std::function<void(BusyIndicator&)>& act) {
        auto* poll = new QTimer(form);
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, form, [this, poll, act] {
            BusyIndicator* busy = ExistingBusyIndicator();
            if (!busy || !busy->cancelOffered())
                return;
            poll->stop();
            ++offers;
            caption = busy->caption();
            act(*busy);
        });
        poll->start();
    }

    ServerProcess real{generatedDemo().string()};
    FaultyFront front{real.port()};
    int offers = 0;
    QString caption;
};

TEST_F(HungCall, CancellingEndsTheRunAsAFailedCallAndTheSessionServesTheNextRun) {
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    checkAll();
    front.hang("GetFreqPratMes");
    const int currentRow = form->cdsServico.RecNo();
    int calledWhileHung = 0;
    whenCancelOffered([&](BusyIndicator& busy) {
        // The user's clicks and keys meanwhile reach nothing: no second run, no close, no other row.
        const std::size_t before = front.methods().size();
        QTest::mouseClick(form->sbtVerificar, Qt::LeftButton);
        QTest::mouseClick(form->sbtCancel, Qt::LeftButton);
        QTest::keyClick(form->dbgServico, Qt::Key_Down);
        QTest::keyClick(form->dbgServico, Qt::Key_F5);
        calledWhileHung = static_cast<int>(front.methods().size() - before);
        QTest::mouseClick(busy.cancelButton(), Qt::LeftButton);
    });
    pressVerify();

    EXPECT_EQ(offers, 1);
    EXPECT_EQ(caption, u"Analisando restrições contratuais..."_s);
    EXPECT_EQ(calledWhileHung, 0);
    ASSERT_EQ(frmAnalRestCont, form) << "Fechar was not pressed while the call hung";
    EXPECT_EQ(form->cdsServico.RecNo(), currentRow);
    ASSERT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    const QString message = errors()[0];
    EXPECT_TRUE(message.startsWith(u"A análise foi interrompida pelo usuário"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(front.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetFreqPratMes"_s)) << message.toStdString();
    // As for any failed call: indicator gone, the categories before it loaded, it and the rest
    // still out of date, its sets emptied.
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_FALSE(ExistingBusyIndicator()->cancelOffered());
    EXPECT_FALSE(boFreqPratSem);
    EXPECT_TRUE(boFreqPratMes);
    EXPECT_TRUE(boLimNutri);
    EXPECT_TRUE(form->cdsFreqPratMes.IsEmpty());
    EXPECT_FALSE(form->cdsFreqPratSem.IsEmpty());

    front.disarm();
    pressVerify();
    EXPECT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    for (bool flag : flags())
        EXPECT_FALSE(flag);
    EXPECT_FALSE(form->cdsFreqPratMes.IsEmpty());
    closeScreen();
    EXPECT_EQ(errors().size(), 1) << "closing says nothing more: " << errors().join(u'\n').toStdString();
}

TEST_F(HungCall, EscapeCancelsAndAQuickCallNeverOffersCancelar) {
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    checkAll();
    // A run whose calls all answer in time ends without ever showing Cancelar.
    OperatorContext::instance().set(keys::kServerCancelAfterMs, u"600000"_s);
    pressVerify();
    EXPECT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();

    OperatorContext::instance().set(keys::kServerCancelAfterMs, u"200"_s);
    front.hang("GetLimNutri");
    whenCancelOffered([this](BusyIndicator&) { QTest::keyClick(form->dbgServico, Qt::Key_Escape); });
    pressVerify();
    EXPECT_EQ(offers, 1);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].contains(u"GetLimNutri"_s)) << errors()[0].toStdString();
    EXPECT_NE(frmAnalRestCont, nullptr) << "Esc during the wait cancels the call, it does not close";
    EXPECT_TRUE(boLimNutri);
    EXPECT_FALSE(boLimPerPrat);
    closeScreen();
}

} // namespace
