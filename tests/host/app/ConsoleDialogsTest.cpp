#include "host/app/ConsoleDialogs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace Qt::StringLiterals;
using namespace host;

namespace {

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[256];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    return text;
}

} // namespace

TEST(ConsoleDialogs, SayWhatTheyWouldShowAndAnswerWithoutWaiting) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    ASSERT_TRUE(out && err);
    ConsoleDialogs dialogs(out, err);

    dialogs.showError(u"Filial não cadastrada."_s);
    EXPECT_EQ(dialogs.messageDlg(u"Operação bloqueada."_s, TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK, 0),
              mrOk);
    EXPECT_EQ(dialogs.messageDlg(u"Confirma?"_s, TMsgDlgType::mtConfirmation,
                                 TMsgDlgButtons(TMsgDlgBtn::mbYes) | TMsgDlgBtn::mbNo, 0),
              mrYes);
    EXPECT_FALSE(dialogs.inputQuery(u"Título do Relatório"_s, u"Informe o título do relatório:"_s, {}));
    EXPECT_FALSE(dialogs.saveFileName(u"Salvar relatório"_s, {}, {}));

    const std::string printed = contents(out);
    const std::string errors = contents(err);
    EXPECT_NE(errors.find("Erro: Filial não cadastrada."), std::string::npos) << errors;
    EXPECT_NE(printed.find("Informação: Operação bloqueada."), std::string::npos) << printed;
    EXPECT_NE(printed.find("Informe o título do relatório:"), std::string::npos);
    EXPECT_NE(printed.find("Salvar relatório"), std::string::npos);
    EXPECT_EQ(printed.find("Filial não cadastrada."), std::string::npos) << "errors go to the error stream";
    std::fclose(out);
    std::fclose(err);
}
