#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TCheckBox.h"
#include "host/app/TForm.h"
#include "host/core/Refusal.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

struct BoxForm {
    TForm* form = Application().CreateForm<TForm>();
    TCheckBox* box = new TCheckBox(form, u"chbFreqPrat"_s, u"Frequência de Pratos no Mês"_s);
    QList<bool> seen;

    BoxForm() {
        box->SetBounds(6, 4, 220, 20);
        box->OnClick = [this] { seen.append(box->Checked()); };
        form->Show();
        QApplication::setActiveWindow(form);
        box->setFocus();
    }
};

} // namespace

TEST(CheckBox, EveryChangeOfStateRaisesTheClickOnceWhoeverMakesIt) {
    GuiDialogSeam seam;
    BoxForm f;
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(f.seen, QList<bool>{true}) << "a mouse click";
    QTest::keyClick(f.box, Qt::Key_Space);
    EXPECT_EQ(f.seen, (QList<bool>{true, false})) << "the space bar";
    f.box->SetChecked(true);
    f.box->SetChecked(true);
    f.box->SetChecked(false);
    EXPECT_EQ(f.seen, (QList<bool>{true, false, true, false})) << "code, and no event when nothing changes";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST(CheckBox, AFailingHandlerReachesTheCodeThatCheckedButNotQt) {
    GuiDialogSeam seam;
    BoxForm f;
    f.box->OnClick = [] { throw Refusal(u"Opção de restrição deve ser informada para cálculo."_s); };
    EXPECT_THROW(f.box->SetChecked(true), Refusal);
    EXPECT_TRUE(f.box->Checked()) << "the state changes before the handler runs";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_FALSE(f.box->Checked());
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Opção de restrição deve ser informada para cálculo."_s});
}

TEST(CheckBox, ADisabledBoxIgnoresTheUserAndBoldChangesOnlyTheWeight) {
    GuiDialogSeam seam;
    BoxForm f;
    f.box->SetEnabled(false);
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_TRUE(f.seen.isEmpty());
    f.box->SetChecked(true);
    EXPECT_EQ(f.seen, QList<bool>{true}) << "code still checks a disabled box, as calculation mode does";
    const int size = f.box->font().pointSize();
    f.box->SetBold(true);
    EXPECT_TRUE(f.box->Bold());
    EXPECT_EQ(f.box->font().pointSize(), size);
    EXPECT_EQ(f.box->Caption(), u"Frequência de Pratos no Mês"_s);
}
