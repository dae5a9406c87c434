#pragma once

#include <QString>

#include <exception>

namespace host {

// Ends the current operation with a message for the user: a check that refused, a server call that
// failed. Thrown by MensErro, ValidaFilial, CheckResultServ and the connection; shown once, at the
// dispatch boundary that every event from Qt passes through.
class Refusal : public std::exception {
public:
    explicit Refusal(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

} // namespace host
