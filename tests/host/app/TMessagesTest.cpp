#include "GuiTestSupport.h"

#include "host/app/TMessages.h"
#include "host/core/Refusal.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace host;

TEST(TMessages, LooksUpTheTextAfterTheFirstBarByExactKey) {
    TMessages table(nullptr, u"msgTeste"_s);
    table.Messages = {u"OPCAO|(Opção)"_s, u"opcao_inf|Opção de restrição deve ser informada para cálculo."_s,
                      u"barra|a|b"_s, u"sem barra"_s, u"vazio|"_s};
    struct Case {
        QString key, text;
    };
    for (const Case& c : {Case{u"OPCAO"_s, u"(Opção)"_s},
                          Case{u"opcao_inf"_s, u"Opção de restrição deve ser informada para cálculo."_s},
                          Case{u"barra"_s, u"a|b"_s}, Case{u"vazio"_s, QString()}}) {
        EXPECT_TRUE(table.HasKey(c.key)) << c.key.toStdString();
        EXPECT_EQ(table.Msg(c.key), c.text) << c.key.toStdString();
    }
}

TEST(TMessages, AMissingKeyIsRefusedNamingIt) {
    TMessages table(nullptr, u"msgTeste"_s);
    table.Messages = {u"OPCAO|(Opção)"_s, u"sem barra"_s};
    for (const QString& key : {u"opcao"_s, u"OPCAO "_s, u"sem barra"_s, QString()}) {
        EXPECT_FALSE(table.HasKey(key));
        try {
            table.Msg(key);
            ADD_FAILURE() << "no refusal for " << key.toStdString();
        } catch (const Refusal& refusal) {
            EXPECT_TRUE(refusal.message().contains(u"msgTeste"_s));
            EXPECT_TRUE(refusal.message().contains(u"'%1'"_s.arg(key)));
        }
    }
}

TEST(TMessages, ShowMsgHandsTextTypeButtonsAndHelpContextToTheDialogSeam) {
    GuiDialogSeam seam;
    seam.recorder().messageAnswer = mrOk;
    TMessages table(nullptr, u"msgTeste"_s);
    table.Messages = {u"restricoes|Operação bloqueada. O cardápio infringiu as restrições contratuais."_s};

    EXPECT_EQ(table.ShowMsg(u"restricoes"_s, TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK, 0), mrOk);

    ASSERT_EQ(seam.recorder().messages.size(), 1u);
    const auto& shown = seam.recorder().messages.front();
    EXPECT_EQ(shown.text, u"Operação bloqueada. O cardápio infringiu as restrições contratuais."_s);
    EXPECT_EQ(shown.type, TMsgDlgType::mtInformation);
    EXPECT_EQ(shown.buttons, TMsgDlgButtons(TMsgDlgBtn::mbOK));
    EXPECT_EQ(shown.helpContext, 0);
}

TEST(Dialogs, TheDefaultButtonAndItsResult) {
    struct Case {
        TMsgDlgButtons buttons;
        TMsgDlgBtn button;
        TModalResult result;
    };
    const Case cases[] = {
        {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbOK, mrOk},
        {TMsgDlgButtons(TMsgDlgBtn::mbYes) | TMsgDlgBtn::mbNo, TMsgDlgBtn::mbYes, mrYes},
        {TMsgDlgButtons(TMsgDlgBtn::mbCancel) | TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel, mrCancel},
        {TMsgDlgButtons(TMsgDlgBtn::mbAbort) | TMsgDlgBtn::mbRetry | TMsgDlgBtn::mbIgnore,
         TMsgDlgBtn::mbAbort, mrAbort},
        {TMsgDlgButtons(), TMsgDlgBtn::mbOK, mrOk},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(defaultButton(c.buttons), c.button);
        EXPECT_EQ(modalResultOf(defaultButton(c.buttons)), c.result);
    }
}
