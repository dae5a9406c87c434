#include "shell/ShellMenu.h"

#include "host/app/Dispatch.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace shell {

void AddFileMenu(QMainWindow& window, QMenu* before, std::function<void()> openScreen) {
    auto* file = new QMenu(u"Arquivo"_s, &window);
    file->setObjectName(u"mnuArquivo"_s);
    QAction* open = file->addAction(u"Abrir análise de restrições"_s);
    open->setObjectName(u"mnuAbrirAnalise"_s);
    QObject::connect(open, &QAction::triggered, &window,
                     [openScreen = std::move(openScreen)] { host::Dispatch(openScreen); });
    file->addSeparator();
    QAction* quit = file->addAction(u"Sair"_s);
    quit->setObjectName(u"mnuSair"_s);
    QObject::connect(quit, &QAction::triggered, &window, [] { QCoreApplication::quit(); });
    if (before)
        window.menuBar()->insertMenu(before->menuAction(), file);
    else
        window.menuBar()->addMenu(file);
}

} // namespace shell
