#include "host/app/ConsoleDialogs.h"

using namespace Qt::StringLiterals;

namespace host {

namespace {

void say(std::FILE* stream, const QString& line) {
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QString labelOf(TMsgDlgType type) {
    const QString caption = captionOf(type);
    return caption.isEmpty() ? u"Mensagem"_s : caption;
}

} // namespace

void ConsoleDialogs::showError(const QString& message) {
    say(err_, u"Erro: %1"_s.arg(message));
}

TModalResult ConsoleDialogs::messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    say(type == TMsgDlgType::mtError ? err_ : out_, u"%1: %2"_s.arg(labelOf(type), text));
    return modalResultOf(defaultButton(buttons));
}

std::optional<QString> ConsoleDialogs::inputQuery(const QString& caption, const QString& prompt,
                                                  const QString&) {
    say(out_, u"%1: %2 (sem resposta: cancelado)"_s.arg(caption, prompt));
    return std::nullopt;
}

std::optional<QString> ConsoleDialogs::saveFileName(const QString& title, const QString&, const QString&) {
    say(out_, u"%1 (sem resposta: cancelado)"_s.arg(title));
    return std::nullopt;
}

} // namespace host
