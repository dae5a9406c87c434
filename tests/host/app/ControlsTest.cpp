#include "GuiTestSupport.h"

#include "host/app/FocusRouter.h"
#include "host/app/SetChildEnabled.h"
#include "host/app/TApplication.h"
#include "host/app/TControls.h"
#include "host/app/TForm.h"
#include "host/app/TReportLists.h"
#include "host/app/TScreen.h"
#include "host/core/Refusal.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

TEST(Controls, EnabledAndVisibleAreTheControlsOwnSwitches) {
    QWidget window;
    auto* panel = new TPanel(&window, u"panFilial"_s);
    auto* label = new TLabel(panel, u"lblFilial"_s, u"Filial"_s);
    window.show();
    panel->SetEnabled(false);
    EXPECT_TRUE(label->Enabled()) << "a disabled container leaves its children's own switch alone";
    EXPECT_FALSE(label->Usable());
    panel->SetEnabled(true);
    EXPECT_TRUE(label->Usable());
    panel->SetVisible(false);
    EXPECT_TRUE(label->Visible());
    EXPECT_FALSE(label->Usable());
    EXPECT_EQ(label->Name(), u"lblFilial"_s);
    EXPECT_EQ(label->Parent(), panel);
    EXPECT_EQ(TControl::of(label), static_cast<TControl*>(label));
    EXPECT_EQ(TControl::of(&window), nullptr);
}

TEST(Controls, SetChildEnabledSwitchesEveryControlInsideButNotTheContainer) {
    QWidget window;
    auto* panel = new TPanel(&window, u"panFilial"_s);
    auto* inner = new TPanel(panel, u"panInterno"_s);
    auto* edit = new QLineEdit(inner);
    auto* button = new TSpeedButton(panel, u"sbtFilial"_s);
    for (const bool flag : {false, true}) {
        SetChildEnabled(*panel, flag);
        EXPECT_TRUE(panel->Enabled());
        EXPECT_EQ(inner->Enabled(), flag);
        EXPECT_EQ(button->Enabled(), flag);
        EXPECT_EQ(!edit->testAttribute(Qt::WA_ForceDisabled), flag) << "at any depth";
    }
}

TEST(Controls, AlignedControlsShareTheContainerSidesFirstThenTheClient) {
    QWidget window;
    window.resize(400, 300);
    auto* panel = new TPanel(&window, u"panFundo"_s);
    panel->setFrameStyle(QFrame::NoFrame);
    panel->resize(400, 300);
    // Created client first: the sides still go first.
    auto* client = new TPanel(panel, u"cliente"_s);
    client->SetAlign(TAlign::alClient);
    auto* top = new TPanel(panel, u"topo"_s);
    top->resize(10, 30);
    top->SetAlign(TAlign::alTop);
    auto* bottom = new TPanel(panel, u"base"_s);
    bottom->resize(10, 20);
    bottom->SetAlign(TAlign::alBottom);
    auto* right = new TPanel(panel, u"direita"_s);
    right->resize(50, 10);
    right->SetAlign(TAlign::alRight);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 400, 30));
    EXPECT_EQ(bottom->geometry(), QRect(0, 280, 400, 20));
    EXPECT_EQ(right->geometry(), QRect(350, 30, 50, 250));
    EXPECT_EQ(client->geometry(), QRect(0, 30, 350, 250));
    bottom->SetVisible(false);
    EXPECT_EQ(client->geometry(), QRect(0, 30, 350, 270)) << "a hidden control gives its side back";
}

TEST(Controls, TheReportListsStayInStepByPosition) {
    QComboBox selector;
    TReportLists reports(selector);
    reports.Add(u"Frequência"_s, u"0C"_s, u"/r/0C.rep"_s);
    reports.Add(u"Restrições"_s, u"KD"_s, u"/r/KD.rep"_s);
    reports.Add(u"Outra"_s, u"0C"_s, u"/r/0C-2.rep"_s);
    EXPECT_EQ(reports.IndexOfCode(u"0C"_s), 0) << "the first one found";
    EXPECT_EQ(reports.IndexOfCode(u"0c"_s), -1) << "exact match";
    EXPECT_EQ(reports.IndexOfCode(u"0Y"_s), -1);
    reports.DeleteAt(0);
    EXPECT_EQ(reports.Items(), (QStringList{u"Restrições"_s, u"Outra"_s}));
    EXPECT_EQ(reports.Codes(), (QStringList{u"KD"_s, u"0C"_s}));
    EXPECT_EQ(reports.DefinitionPaths(), (QStringList{u"/r/KD.rep"_s, u"/r/0C-2.rep"_s}));
    for (const int bad : {-1, 2, 5})
        EXPECT_THROW(reports.DeleteAt(bad), Refusal);
    EXPECT_EQ(reports.Count(), 2);
    EXPECT_EQ(selector.count(), 2);
}

TEST(Controls, TheScreenCursorIsASettingNotAStack) {
    TScreen& screen = Screen();
    screen.SetCursor(TCursor::crHourGlass);
    screen.SetCursor(TCursor::crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    screen.SetCursor(TCursor::crDefault);
    EXPECT_EQ(screen.Cursor(), TCursor::crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

namespace {

struct FocusForm {
    TForm* form;
    TPanel* panA;
    TPanel* panB;
    QLineEdit* editA;
    QLineEdit* editB;
    QStringList events;

    FocusForm() {
        form = Application().CreateForm<TForm>();
        panA = new TPanel(form, u"panA"_s);
        panA->SetBounds(0, 0, 200, 40);
        editA = new QLineEdit(panA);
        panB = new TPanel(form, u"panB"_s);
        panB->SetBounds(0, 50, 200, 40);
        editB = new QLineEdit(panB);
        for (TPanel* panel : {panA, panB}) {
            panel->OnEnter = [this, panel] { events.append(panel->Name() + u" entra"_s); };
            panel->OnExit = [this, panel] { events.append(panel->Name() + u" sai"_s); };
        }
        form->Show();
        QApplication::setActiveWindow(form);
        editA->setFocus();
        events.clear();
    }
};

} // namespace

TEST(FocusRouter, AMoveInsideTheFormLeavesInnermostFirstThenEnters) {
    GuiDialogSeam seam;
    FocusForm f;
    f.editB->setFocus();
    EXPECT_EQ(f.events, (QStringList{u"panA sai"_s, u"panB entra"_s}));
    EXPECT_EQ(f.form->ActiveControl(), f.editB);
}

TEST(FocusRouter, AFailingExitEndsTheChainAndPuttingFocusBackRaisesNothing) {
    GuiDialogSeam seam;
    FocusForm f;
    f.panA->OnExit = [&f] {
        f.events.append(u"panA sai"_s);
        f.editA->setFocus();
        throw Refusal(u"Filial não cadastrada."_s);
    };
    f.editB->setFocus();
    EXPECT_EQ(f.events, QStringList{u"panA sai"_s});
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Filial não cadastrada."_s});
    EXPECT_EQ(f.form->ActiveControl(), f.editA);
}

TEST(FocusRouter, FocusLeavingForAnotherWindowAndComingBackRaisesNothing) {
    GuiDialogSeam seam;
    FocusForm f;
    QWidget other;
    auto* otherEdit = new QLineEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    otherEdit->setFocus();
    QApplication::setActiveWindow(f.form);
    f.editA->setFocus();
    EXPECT_TRUE(f.events.isEmpty()) << f.events.join(u", "_s).toStdString();
}
