#include "host/app/WidgetDialogs.h"

#include "host/app/TApplication.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace host {

namespace {

QWidget* dialogParent() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return Application().MainForm();
}

constexpr std::array<std::pair<TMsgDlgBtn, QMessageBox::StandardButton>, 7> kButtons{{
    {TMsgDlgBtn::mbYes, QMessageBox::Yes},
    {TMsgDlgBtn::mbNo, QMessageBox::No},
    {TMsgDlgBtn::mbOK, QMessageBox::Ok},
    {TMsgDlgBtn::mbCancel, QMessageBox::Cancel},
    {TMsgDlgBtn::mbAbort, QMessageBox::Abort},
    {TMsgDlgBtn::mbRetry, QMessageBox::Retry},
    {TMsgDlgBtn::mbIgnore, QMessageBox::Ignore},
}};

QMessageBox::Icon iconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(TMsgDlgType type) {
    const QString caption = captionOf(type);
    return caption.isEmpty() ? QApplication::applicationDisplayName() : caption;
}

} // namespace

void WidgetDialogs::showError(const QString& message) {
    QMessageBox::critical(dialogParent(), u"Erro"_s, message);
}

TModalResult WidgetDialogs::messageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    QMessageBox box(iconOf(type), titleOf(type), text, QMessageBox::NoButton, dialogParent());
    for (const auto& [ours, theirs] : kButtons)
        if (buttons.testFlag(ours))
            box.addButton(theirs);
    if (box.buttons().isEmpty())
        box.addButton(QMessageBox::Ok);
    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const auto& [ours, theirs] : kButtons)
        if (theirs == pressed)
            return modalResultOf(ours);
    return mrCancel;
}

std::optional<QString> WidgetDialogs::inputQuery(const QString& caption, const QString& prompt,
                                                 const QString& initial) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> WidgetDialogs::saveFileName(const QString& title, const QString& initialPath,
                                                   const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(dialogParent(), title, initialPath, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace host
