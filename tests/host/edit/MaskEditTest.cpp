#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/core/Refusal.h"
#include "host/edit/TEdit.h"
#include "host/edit/TMaskEdit.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

struct EditForm {
    TForm* form = Application().CreateForm<TForm>();
    TMaskEdit* code = new TMaskEdit(form, u"medCdFilial"_s);
    TEdit* name = new TEdit(form, u"edtNmFilial"_s);
    TEdit* other = new TEdit(form, u"edtOutro"_s);
    int changes = 0;

    EditForm() {
        code->SetBounds(8, 8, 60, 21);
        name->SetBounds(80, 8, 200, 21);
        other->SetBounds(8, 40, 60, 21);
        code->SetEditMask(u">aaaa;0; "_s);
        code->OnChange = [this] { ++changes; };
        form->Show();
        QApplication::setActiveWindow(form);
        code->setFocus();
    }
};

} // namespace

TEST(MaskEdit, TypingFollowsTheMaskAndForcesUpperCase) {
    GuiDialogSeam seam;
    EditForm f;
    QTest::keyClicks(f.code, u"a-b1"_s);
    EXPECT_EQ(f.code->Text(), u"AB1"_s) << "the hyphen is no letter or digit";
    EXPECT_EQ(f.code->EditText(), u"AB1 "_s) << "the blank shows as a space";
    QTest::keyClicks(f.code, u"zz"_s);
    EXPECT_EQ(f.code->Text(), u"AB1Z"_s) << "four positions, no more";
    EXPECT_EQ(f.changes, 4) << "one change per accepted key";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());
}

TEST(MaskEdit, TheValueDropsOrKeepsTheLiteralsAsTheMaskSays) {
    GuiDialogSeam seam;
    EditForm f;
    struct Case {
        QString mask, value, shown, kept;
    };
    const Case cases[] = {
        {u">aa.aaaa.aaaa;0; "_s, u"ab12345678"_s, u"AB.1234.5678"_s, u"AB12345678"_s},
        {u">aa.aaaa.aaaa;0; "_s, u"ab12"_s, u"AB.12  .    "_s, u"AB12"_s},
        {u">aa.aaaa.aaaa;1; "_s, u"AB.12"_s, u"AB.12  .    "_s, u"AB.12  ."_s},
        {u">aaaa;0;_"_s, u"7"_s, u"7___"_s, u"7"_s},
        {u">aaaa;0; "_s, QString(), u"    "_s, QString()},
    };
    for (const Case& c : cases) {
        f.code->SetEditMask(c.mask);
        f.code->SetText(c.value);
        EXPECT_EQ(f.code->EditText(), c.shown) << c.mask.toStdString() << " / " << c.value.toStdString();
        EXPECT_EQ(f.code->Text(), c.kept) << c.mask.toStdString() << " / " << c.value.toStdString();
    }
}

TEST(MaskEdit, TypingOverLiteralsLeavesThemOutOfTheValue) {
    GuiDialogSeam seam;
    EditForm f;
    f.code->SetEditMask(u">aa.aaaa.aaaa;0; "_s);
    f.code->setCursorPosition(0);
    QTest::keyClicks(f.code, u"xy9876"_s);
    EXPECT_EQ(f.code->EditText(), u"XY.9876.    "_s);
    EXPECT_EQ(f.code->Text(), u"XY9876"_s);
}

TEST(Edit, AChangeByCodeRaisesDirectlyAndAChangeByTheUserPassesTheBoundary) {
    GuiDialogSeam seam;
    EditForm f;
    f.code->OnChange = [] { throw Refusal(u"Filial não cadastrada."_s); };
    EXPECT_THROW(f.code->SetText(u"0001"_s), Refusal) << "the code that wrote the text hears the failure";
    EXPECT_EQ(f.code->Text(), u"0001"_s) << "the text changes before the handler runs";
    EXPECT_TRUE(seam.recorder().errors.isEmpty());

    EXPECT_NO_THROW(f.code->SetText(u"0001"_s)) << "the same value is no change";
    f.code->SetText(u"0001    "_s);
    EXPECT_TRUE(seam.recorder().errors.isEmpty()) << "trailing blanks give the same value";

    f.code->setCursorPosition(4);
    QTest::keyClick(f.code, Qt::Key_Backspace);
    EXPECT_EQ(f.code->Text(), u"000"_s);
    EXPECT_EQ(seam.recorder().errors, QStringList{u"Filial não cadastrada."_s});

    int nameChanges = 0;
    f.name->OnChange = [&] { ++nameChanges; };
    f.name->SetText(u"Hospital Central"_s);
    f.name->SetText(u"Hospital Central"_s);
    f.name->SetText(QString());
    EXPECT_EQ(nameChanges, 2);
}

TEST(Edit, ANameFieldShowsAValueWithoutTakingTabsOrTyping) {
    GuiDialogSeam seam;
    EditForm f;
    f.name->SetReadOnly(true);
    f.name->SetTabStop(false);
    f.name->SetColor(QColor(240, 240, 240));
    f.name->SetText(u"Hospital Central"_s);
    EXPECT_EQ(f.name->Color(), QColor(240, 240, 240));
    EXPECT_FALSE(f.name->TabStop());

    QTest::keyClick(f.code, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), f.other) << "Tab steps over the name";

    f.name->setFocus();
    QTest::keyClicks(f.name, u"x"_s);
    EXPECT_EQ(f.name->Text(), u"Hospital Central"_s);

    f.code->SetMaxLength(4);
    f.other->SetMaxLength(3);
    QTest::keyClicks(f.other, u"abcdef"_s);
    EXPECT_EQ(f.other->Text(), u"abc"_s);
}
