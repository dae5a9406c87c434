#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/core/Refusal.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

class TFormTest : public ::testing::Test {
protected:
    void SetUp() override { Application().MainForm()->show(); }
    GuiDialogSeam seam;
};

TForm* newForm() {
    return Application().CreateForm<TForm>();
}

} // namespace

TEST_F(TFormTest, CreateFormRunsOnCreateAndTheHostOwnsTheForm) {
    struct Probe : TForm {
        explicit Probe(QWidget* owner) : TForm(owner) {
            OnCreate = [this] { created = true; };
        }
        bool created = false;
    };
    Probe* form = Application().CreateForm<Probe>();
    EXPECT_TRUE(form->created);
    EXPECT_TRUE(Application().Forms().contains(form));
    EXPECT_FALSE(form->Visible());
}

TEST_F(TFormTest, AFailingOnCreateDestroysTheFormAndReachesTheCaller) {
    struct Failing : TForm {
        explicit Failing(QWidget* owner) : TForm(owner) {
            OnCreate = [] { throw Refusal(u"falhou"_s); };
        }
    };
    const auto before = Application().Forms().size();
    EXPECT_THROW(Application().CreateForm<Failing>(), Refusal);
    EXPECT_EQ(Application().Forms().size(), before);
}

TEST_F(TFormTest, AChildFormLivesInAFrameOfTheMainFormsArea) {
    TForm* form = newForm();
    form->SetCaption(u"Janela filha"_s);
    form->SetClientSize(579, 360);
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->SetLeft(30);
    form->SetTop(20);
    form->Show();
    auto* frame = qobject_cast<QMdiSubWindow*>(form->FormWindow());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->mdiArea(), Application().MdiArea());
    EXPECT_EQ(frame->windowTitle(), u"Janela filha"_s);
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->ClientWidth(), 579);
    EXPECT_EQ(form->ClientHeight(), 360);
    EXPECT_EQ(form->Left(), 30);
    EXPECT_EQ(form->Top(), 20);
    EXPECT_EQ(Application().MdiArea()->activeSubWindow(), frame);
}

TEST_F(TFormTest, ActivationArrivesAfterTheShowingCallOncePerActivation) {
    TForm* form = newForm();
    int activations = 0;
    form->OnActivate = [&] { ++activations; };
    QList<TForm*> announced;
    QObject::connect(&Application(), &TApplication::formActivated, form,
                     [&](TForm* f) { announced.append(f); });
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->Show();
    EXPECT_EQ(activations, 0) << "the launch returns before the screen starts working";
    GuiDrain();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(announced, QList<TForm*>{form});

    TForm* other = newForm();
    other->SetFormStyle(TFormStyle::fsMDIChild);
    other->Show();
    GuiDrain();
    Application().MdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(form->FormWindow()));
    GuiDrain();
    EXPECT_EQ(activations, 2) << "switching back to the form activates it again";
}

TEST_F(TFormTest, AFailingOnActivateReachesTheErrorDisplay) {
    TForm* form = newForm();
    form->OnActivate = [] { throw Refusal(u"Não foi possível conectar ao servidor."_s); };
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->Show();
    EXPECT_NO_THROW(GuiDrain());
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Não foi possível conectar ao servidor."_s});
}

TEST_F(TFormTest, TheCloseActionDecidesWhatBecomesOfTheWindow) {
    struct Case {
        TFormStyle style;
        TCloseAction action;
        bool visible, alive, minimised;
    };
    const Case cases[] = {
        {TFormStyle::fsNormal, TCloseAction::caHide, false, true, false},
        {TFormStyle::fsNormal, TCloseAction::caNone, true, true, false},
        {TFormStyle::fsNormal, TCloseAction::caFree, false, false, false},
        {TFormStyle::fsMDIChild, TCloseAction::caFree, false, false, false},
        {TFormStyle::fsMDIChild, TCloseAction::caMinimize, true, true, true},
        {TFormStyle::fsMDIChild, TCloseAction::caHide, false, true, false},
    };
    for (const Case& c : cases) {
        QPointer<TForm> form = newForm();
        form->SetFormStyle(c.style);
        form->OnClose = [&](TCloseAction& action) { action = c.action; };
        form->Show();
        form->Close();
        GuiDrain();
        EXPECT_EQ(!form.isNull(), c.alive) << int(c.action);
        if (form) {
            EXPECT_EQ(form->Visible(), c.visible) << int(c.action);
            EXPECT_EQ(form->WindowState() == TWindowState::wsMinimized, c.minimised) << int(c.action);
        }
    }
}

TEST_F(TFormTest, TheDefaultCloseActionDependsOnTheFormStyle) {
    struct Case {
        TFormStyle style;
        TBorderIcons icons;
        TCloseAction expected;
    };
    const Case cases[] = {
        {TFormStyle::fsNormal, TBorderIcon::biSystemMenu, TCloseAction::caHide},
        {TFormStyle::fsMDIChild, TBorderIcons(TBorderIcon::biSystemMenu) | TBorderIcon::biMinimize,
         TCloseAction::caMinimize},
        {TFormStyle::fsMDIChild, TBorderIcon::biSystemMenu, TCloseAction::caNone},
    };
    for (const Case& c : cases) {
        TForm* form = newForm();
        form->SetFormStyle(c.style);
        form->SetBorderIcons(c.icons);
        std::optional<TCloseAction> offered;
        form->OnClose = [&](TCloseAction& action) { offered = action; };
        form->Show();
        form->Close();
        ASSERT_TRUE(offered);
        EXPECT_EQ(*offered, c.expected);
    }
}

TEST_F(TFormTest, TheWindowSystemsCloseGoesThroughOnCloseAndTheBoundary) {
    TForm* form = newForm();
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->OnClose = [](TCloseAction&) { throw Refusal(u"não pode fechar agora"_s); };
    form->Show();
    EXPECT_NO_THROW(form->FormWindow()->close());
    EXPECT_EQ(seam.recorder().errors, QStringList{u"não pode fechar agora"_s});
    EXPECT_TRUE(form->Visible()) << "a failing OnClose keeps the window";
}

TEST_F(TFormTest, APostedCloseRunsOnTheNextTurnAndIsDroppedWithTheForm) {
    QPointer<TForm> form = newForm();
    int closes = 0;
    form->OnClose = [&](TCloseAction& action) {
        ++closes;
        action = TCloseAction::caFree;
    };
    form->Show();
    form->PostClose();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(closes, 0);
    GuiDrain();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(form.isNull());

    QPointer<TForm> gone = newForm();
    gone->PostClose();
    gone->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_NO_THROW(GuiDrain());
}

TEST_F(TFormTest, ShowModalReturnsOnlyAfterTheCloseWithItsResult) {
    QPointer<TForm> form = newForm();
    form->SetBorderStyle(TBorderStyle::bsDialog);
    bool wasModal = false;
    form->OnActivate = [&] {
        wasModal = form->Modal() && form->isModal();
        form->SetModalResult(mrOk);
    };
    form->OnClose = [](TCloseAction& action) { action = TCloseAction::caFree; };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(wasModal);
    ASSERT_FALSE(form.isNull()) << "released, not yet deleted, when ShowModal returns";
    EXPECT_TRUE(form->Released());
    GuiDrain();
    EXPECT_TRUE(form.isNull());
}

TEST_F(TFormTest, AModalFormThatRefusesToCloseStaysOpen) {
    TForm* form = newForm();
    int attempts = 0;
    form->OnClose = [&](TCloseAction& action) {
        if (++attempts == 1)
            action = TCloseAction::caNone;
    };
    form->OnActivate = [&] {
        form->Close();
        EXPECT_TRUE(form->Visible());
        EXPECT_EQ(form->ModalResult(), mrNone);
        form->Close();
    };
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(attempts, 2);
    EXPECT_FALSE(form->Visible());
}

TEST_F(TFormTest, ShowModalIsRefusedForAVisibleFormAndForAChild) {
    TForm* visible = newForm();
    visible->Show();
    EXPECT_THROW(visible->ShowModal(), Refusal);
    TForm* child = newForm();
    child->SetFormStyle(TFormStyle::fsMDIChild);
    EXPECT_THROW(child->ShowModal(), Refusal);
}

TEST_F(TFormTest, BorderStyleAndIconsGiveTheFrameItsButtons) {
    using I = TBorderIcon;
    struct Case {
        TFormStyle style;
        TBorderStyle border;
        TBorderIcons icons;
        bool frameless, minimise, maximise, close;
    };
    const TBorderIcons all = TBorderIcons(I::biSystemMenu) | I::biMinimize | I::biMaximize;
    const Case cases[] = {
        {TFormStyle::fsNormal, TBorderStyle::bsNone, all, true, false, false, false},
        {TFormStyle::fsNormal, TBorderStyle::bsSingle, all, false, true, true, true},
        {TFormStyle::fsNormal, TBorderStyle::bsSingle, TBorderIcons(I::biSystemMenu) | I::biMinimize, false,
         true, false, true},
        {TFormStyle::fsNormal, TBorderStyle::bsDialog, all, false, false, false, true},
        {TFormStyle::fsMDIChild, TBorderStyle::bsSingle, TBorderIcons(I::biSystemMenu) | I::biMinimize, false,
         true, false, true},
        {TFormStyle::fsMDIChild, TBorderStyle::bsSingle, all, false, true, true, true},
    };
    for (const Case& c : cases) {
        TForm* form = newForm();
        form->SetBorderStyle(c.border);
        form->SetBorderIcons(c.icons);
        form->SetFormStyle(c.style);
        const Qt::WindowFlags flags = form->FormWindow()->windowFlags();
        EXPECT_EQ(flags.testFlag(Qt::FramelessWindowHint), c.frameless);
        EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), c.minimise);
        EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), c.maximise);
        EXPECT_EQ(flags.testFlag(Qt::WindowCloseButtonHint), c.close);
        EXPECT_EQ(form->BorderStyle(), c.border);
    }
}

TEST_F(TFormTest, AMinimisedChildIsRestoredByWindowStateNormal) {
    TForm* form = newForm();
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->Show();
    form->SetWindowState(TWindowState::wsMinimized);
    EXPECT_EQ(form->WindowState(), TWindowState::wsMinimized);
    form->SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
}

TEST_F(TFormTest, AChildDestroyedOnItsOwnTakesItsFrameAlong) {
    QPointer<TForm> form = newForm();
    form->SetFormStyle(TFormStyle::fsMDIChild);
    form->Show();
    QPointer<QWidget> frame = form->FormWindow();
    std::unique_ptr<TForm> destroyed(form.data());
    destroyed.reset();
    GuiDrain();
    EXPECT_TRUE(frame.isNull());
    EXPECT_TRUE(Application().MdiArea()->subWindowList().isEmpty());
}
