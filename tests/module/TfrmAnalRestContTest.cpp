#include "ModuleFixture.h"
#include "RefusalOf.h"

#include "host/app/TApplication.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"

using namespace Qt::StringLiterals;
using namespace host;

TEST_F(ModuleTest, TheMessageTableHoldsExactlyTheFourteenTexts) {
    const QStringList expected{
        u"Arq_Rel_Err|O arquivo contendo a definição do Relatório de código '%s' não foi encontrado no diretório '%s'."_s,
        u"NovoCaption|Título do Relatório"_s,
        u"NovoPrompt|Informe o título do relatório:"_s,
        u"FILI_DEVE|Filial deve ser informada."_s,
        u"FILI_NAO_CAD|Filial não cadastrada."_s,
        u"FILI_RESC|Filial com contrato rescindido."_s,
        u"SERV_DEVE|Serviço deve ser selecionado."_s,
        u"OPCAO|(Opção)"_s,
        u"MesNull|Data deve ser informada."_s,
        u"getdataserv|Carregando dados do servidor..."_s,
        u"get_cdsServico|Carregando serviços..."_s,
        u"get_Restricoes|Analisando restrições contratuais..."_s,
        u"restricoes|Operação bloqueada. O cardápio infringiu as restrições contratuais."_s,
        u"opcao_inf|Opção de restrição deve ser informada para cálculo."_s,
    };
    IniProc(QVariant());
    ASSERT_FALSE(frmAnalRestCont.isNull());
    EXPECT_EQ(frmAnalRestCont->msgPadrao->Messages, expected);
    for (const QString& line : expected) {
        const qsizetype bar = line.indexOf(u'|');
        EXPECT_EQ(frmAnalRestCont->msgPadrao->Msg(line.left(bar)), line.mid(bar + 1));
    }
    EXPECT_TRUE(frmAnalRestCont->msgMensagens->Messages.isEmpty());
}

TEST_F(ModuleTest, TheFormIsLaidOutAsItsDescriptionSays) {
    IniProc(QVariant());
    TfrmAnalRestCont* form = frmAnalRestCont;
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption(), u"Análise de Restrições Contratuais"_s);
    EXPECT_EQ(form->ClientWidth(), 579);
    EXPECT_EQ(form->ClientHeight(), 360);
    EXPECT_EQ(form->Left(), 326);
    EXPECT_EQ(form->Top(), 152);
    EXPECT_EQ(form->lblCodTela->Caption(), u"KDR60251"_s);
    EXPECT_EQ(form->lblCodRel->Caption(), u"KDR001"_s);
    EXPECT_EQ(form->lblCodRel->Parent(), form->panMenu);
    EXPECT_EQ(form->panBotoes->Parent(), form->panMenu);
    EXPECT_EQ(form->sbtCancel->Parent(), form->panBotoes);
    EXPECT_EQ(form->sbtVerificar->Parent(), form->panBotoes);
    EXPECT_EQ(form->sbtVerificar->Hint(), u"Analisar Restrições Contratuais"_s);
    EXPECT_EQ(form->bvlSeparator->Parent(), form->grbDadosRel);
    EXPECT_EQ(form->panRelat->Parent(), form->grbDadosRel);
    EXPECT_EQ(form->panVerifica->Parent(), form->grbDadosRel);
    EXPECT_EQ(form->netAnalRestCont.ServerName, u"KDR60251.rdmAnalRestCont"_s);

    const QRect navigator = form->panNavigator->geometry();
    EXPECT_EQ(navigator.width(), form->ClientWidth()) << "along the bottom";
    EXPECT_GE(navigator.top(), form->grbDadosRel->geometry().bottom());
    EXPECT_LE(form->panMenu->geometry().bottom(), form->grbDadosRel->geometry().top());
    EXPECT_GT(form->panVerifica->height(), 100) << "room for the page control";
}

TEST_F(ModuleTest, TheConnectionTakesHostAndPortFromTheContextEachTimeItConnects) {
    auto& context = OperatorContext::instance();
    context.set(keys::kServerHost, u"127.0.0.9"_s);
    context.set(keys::kServerPort, u"61234"_s);
    IniProc(QVariant());
    TNetConnection& connection = frmAnalRestCont->netAnalRestCont;
    ASSERT_TRUE(connection.BeforeConnect);
    connection.BeforeConnect(connection);
    EXPECT_EQ(connection.Host, u"127.0.0.9"_s);
    EXPECT_EQ(connection.Port, 61234);
    context.set(keys::kServerPort, u"61235"_s);
    connection.BeforeConnect(connection);
    EXPECT_EQ(connection.Port, 61235);
    context.clear();
}

TEST_F(ModuleTest, ClosingClearsTheLiveFlagAndFreesTheWindow) {
    IniProc(QVariant());
    QPointer<TfrmAnalRestCont> form = frmAnalRestCont.data();
    form->sbtCancel->Click();
    EXPECT_FALSE(boIdCriado);
    EXPECT_TRUE(form->Released());
    GuiDrain();
    EXPECT_TRUE(form.isNull());
}

TEST_F(ModuleTest, LaterActivationsDoNotRunTheFirstOneAgain) {
    IniProc(QVariant());
    TfrmAnalRestCont* form = frmAnalRestCont;
    EXPECT_TRUE(form->FirstActivationPending());
    // No server listens here: the first activation ends at its connect step.
    EXPECT_FALSE(refusalOf([&] { form->FormActivate(); }).isEmpty());
    EXPECT_FALSE(form->FirstActivationPending());
    // A failed first activation is not tried again: nothing connects, nothing fails.
    EXPECT_NO_THROW(form->FormActivate());
    EXPECT_FALSE(form->netAnalRestCont.Connected());
}
