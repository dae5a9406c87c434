#include "host/app/TApplication.h"

#include "host/app/BusyIndicator.h"
#include "host/app/ConsoleDialogs.h"
#include "host/app/Dispatch.h"
#include "host/app/ExchangeWait.h"
#include "host/app/FocusRouter.h"
#include "host/app/TForm.h"
#include "host/app/WidgetDialogs.h"
#include "host/net/NetConnection.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace host {

namespace {

std::unique_ptr<TApplication>& slot() {
    static std::unique_ptr<TApplication> application;
    return application;
}

// Widgets must go while the QApplication still exists; post routines run at the start of its
// destruction.
void destroyApplication() {
    if (slot())
        slot()->shutdown();
    slot().reset();
}

} // namespace

bool Headless() {
    const QString platform = QGuiApplication::platformName();
    return platform == u"offscreen"_s || platform == u"minimal"_s;
}

TApplication& TApplication::instance() {
    if (!slot()) {
        slot().reset(new TApplication());
        qAddPostRoutine(destroyApplication);
    }
    return *slot();
}

TApplication::TApplication() : mainForm_(std::make_unique<QMainWindow>()) {
    mainForm_->setObjectName(u"MainForm"_s);
    mainForm_->setWindowTitle(u"Análise de Restrições Contratuais — host"_s);
    mainForm_->resize(1024, 700);
    auto* area = new QMdiArea(mainForm_.get());
    area->setObjectName(u"MdiArea"_s);
    mainForm_->setCentralWidget(area);
    mdiArea_ = area;
    helpMenu_ = mainForm_->menuBar()->addMenu(u"Ajuda"_s);
    helpMenu_->setObjectName(u"mnuAjuda"_s);
    QAction* keys = helpMenu_->addAction(u"Atalhos do teclado"_s);
    keys->setObjectName(u"mnuAtalhos"_s);
    connect(keys, &QAction::triggered, this, [this] {
        Dispatch([this] {
            dialogs().messageDlg(KeyHintsText(), TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK, 0);
        });
    });
    connect(area, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* frame) {
        if (frame)
            if (auto* form = qobject_cast<TForm*>(frame->widget()))
                form->requestActivation();
    });
    if (Headless())
        dialogs_ = std::make_unique<ConsoleDialogs>();
    else
        dialogs_ = std::make_unique<WidgetDialogs>();
    focusRouter_ = std::make_unique<FocusRouter>();
    SetExchangeWaiter(WaitForExchange);
}

TApplication::~TApplication() {
    shutdown();
}

QMainWindow* TApplication::MainForm() const {
    return mainForm_.get();
}

QMdiArea* TApplication::MdiArea() const {
    return mdiArea_;
}

QList<TForm*> TApplication::Forms() const {
    QList<TForm*> forms;
    if (mainForm_)
        forms = mainForm_->findChildren<TForm*>();
    return forms;
}

QString TApplication::KeyHintsText() const {
    QStringList lines;
    for (const TForm* form : Forms()) {
        if (form->Released() || form->KeyHints.isEmpty())
            continue;
        if (!lines.isEmpty())
            lines << QString();
        lines << u"%1:"_s.arg(form->Caption());
        for (const TForm::KeyHint& hint : form->KeyHints)
            lines << u"  %1 — %2"_s.arg(hint.keys, hint.action);
    }
    if (lines.isEmpty())
        return u"Nenhuma tela aberta tem atalhos de teclado."_s;
    return lines.join(u'\n');
}

std::unique_ptr<Dialogs> TApplication::setDialogs(std::unique_ptr<Dialogs> dialogs) {
    std::swap(dialogs_, dialogs);
    return dialogs;
}

void TApplication::shutdown() {
    SetExchangeWaiter(nullptr);
    focusRouter_.reset();
    DestroyBusyIndicator();
    mainForm_.reset();
}

QWidget* TApplication::formOwner() const {
    return mainForm_.get();
}

void TApplication::runCreate(TForm& form) {
    if (form.OnCreate)
        form.OnCreate();
}

void TApplication::addMdiChild(QMdiSubWindow* frame) {
    mdiArea_->addSubWindow(frame);
}

} // namespace host
