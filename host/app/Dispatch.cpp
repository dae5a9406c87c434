#include "host/app/Dispatch.h"

#include "host/app/Dialogs.h"
#include "host/app/TApplication.h"
#include "host/core/Refusal.h"

#include <QDebug>

#include <exception>

using namespace Qt::StringLiterals;

namespace host {

namespace {

void report(const QString& message) {
    // The display itself must not let anything escape either: a failing display is the last thing
    // that can still be said, on the console.
    try {
        Application().dialogs().showError(message);
    } catch (const std::exception& e) {
        qCritical().noquote() << message << u"(falha ao exibir o erro:"_s << QString::fromUtf8(e.what())
                              << u")"_s;
    } catch (...) {
        qCritical().noquote() << message;
    }
}

} // namespace

bool Dispatch(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Refusal& refusal) {
        report(refusal.message());
    } catch (const std::exception& e) {
        report(u"Erro inesperado: %1"_s.arg(QString::fromUtf8(e.what())));
    } catch (...) {
        report(u"Erro inesperado de causa desconhecida."_s);
    }
    return false;
}

} // namespace host
