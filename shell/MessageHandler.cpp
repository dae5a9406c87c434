#include "shell/MessageHandler.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace shell {

namespace {

QtMessageHandler qtHandler = nullptr;
bool passAll = false;

void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool product = type == QtCriticalMsg || type == QtFatalMsg;
    if (!product && !passAll)
        return;
    if (qtHandler) {
        qtHandler(type, context, message);
        return;
    }
    std::fputs((qFormatLogMessage(type, context, message) + u'\n').toLocal8Bit().constData(), stderr);
}

} // namespace

void installMessageHandler(bool passQtMessages) {
    passAll = passQtMessages;
    const QtMessageHandler previous = qInstallMessageHandler(filter);
    if (previous != filter)
        qtHandler = previous;
}

} // namespace shell
