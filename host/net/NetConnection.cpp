#include "host/net/NetConnection.h"

#include "host/context/OperatorContext.h"
#include "host/core/Refusal.h"
#include "host/format/Formatting.h"
#include "host/net/BoundedExchange.h"
#include "protocol/ForeignJson.h"
#include "protocol/HostPort.h"
#include "protocol/ProtocolError.h"
#include "protocol/Rpc.h"
#include "protocol/Wire.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

// The server as the user reads it in a message: an IPv6 literal in brackets, once. A host that
// does not parse is shown as written; Connect refuses it.
QString where(const QString& hostName, int port) {
    std::string bare = hostName.trimmed().toStdString();
    try {
        bare = proto::parseHost(bare);
    } catch (const std::invalid_argument&) {
    }
    return QString::fromStdString(proto::formatHostPort(bare, port));
}

// A body that is not a JSON document the host may hold (malformed or too deep): a discarded value.
nlohmann::json answerDocument(const std::string& body) {
    try {
        return proto::parseForeignJson(body);
    } catch (const proto::JsonTooDeep&) {
        return nlohmann::json::value_t::discarded;
    }
}

// The server's own {"error": "..."} text of a refused request, if the body carries one.
QString serverErrorText(const std::string& body) {
    const auto doc = answerDocument(body);
    if (doc.is_object() && doc.contains("error") && doc["error"].is_string())
        return QString::fromStdString(doc["error"].get<std::string>());
    return {};
}

proto::Value toWire(const CallArg& arg, std::size_t index, const QString& method) {
    struct Visitor {
        std::size_t index;
        const QString& method;
        proto::Value operator()(std::monostate) const { return std::monostate{}; }
        proto::Value operator()(const QString& text) const { return text.toStdString(); }
        proto::Value operator()(double number) const { return number; }
        proto::Value operator()(const proto::DateTime& date) const { return date; }
        proto::Value operator()(const ByRefDate& ref) const {
            if (!ref.days)
                throw std::logic_error("ByRefDate without a variable: argument " + std::to_string(index) +
                                       " of " + method.toStdString());
            return proto::DateTime{*ref.days};
        }
    };
    return std::visit(Visitor{index, method}, arg);
}

} // namespace

struct TNetConnection::Impl {
    std::unique_ptr<httplib::Client> client;
    std::string token;
    std::int64_t nextId = 1;
    httplib::Headers headers;
    // The user gave up waiting for the last call: a server that hangs would hang the goodbye too,
    // and it drops idle sessions by itself.
    bool unresponsive = false;
};

TNetConnection::TNetConnection() : impl_(std::make_unique<Impl>()) {}

TNetConnection::~TNetConnection() {
    Disconnect();
}

namespace {

// The user reads why in Portuguese; the library's own name of the error only as a last resort.
QString describe(httplib::Error error) {
    switch (error) {
    case httplib::Error::Connection:
        return u"conexão recusada ou servidor inacessível"_s;
    case httplib::Error::Read:
        return u"a conexão foi encerrada antes da resposta"_s;
    case httplib::Error::Write:
        return u"não foi possível enviar a requisição"_s;
    case httplib::Error::BindIPAddress:
        return u"endereço local indisponível"_s;
    default:
        return u"erro de comunicação (%1)"_s.arg(QString::fromStdString(httplib::to_string(error)));
    }
}

ExchangeWaiter& waiterSlot() {
    static ExchangeWaiter waiter;
    return waiter;
}

// Runs one exchange through the host's waiter; true when the user gave up on it. Stopping the client
// closes its socket, so an answer that comes later is never read as the answer to another call.
bool awaitExchange(httplib::Client& client, const std::function<void()>& exchange) {
    std::atomic<bool> cancelled{false};
    if (!waiterSlot()) {
        exchange();
        return false;
    }
    waiterSlot()(exchange, [&] {
        cancelled = true;
        client.stop();
    });
    return cancelled;
}

[[noreturn]] void refuseCancelled(const QString& server, const QString& at, const QString& doing) {
    throw Refusal(u"A análise foi interrompida pelo usuário: o servidor de aplicação %1 em %2 ainda não "
                  u"havia respondido (%3)."_s.arg(server, at, doing));
}

// One place that turns a failed exchange into the user's message, naming the server.
[[noreturn]] void refuseTransport(const QString& server, const QString& at, httplib::Error error,
                                  Clock::duration elapsed, int timeoutMs, const QString& doing) {
    // The library reports a read time-out as a failed read; the time spent tells the two apart.
    const bool timedOut =
        error == httplib::Error::ConnectionTimeout ||
        (error == httplib::Error::Read && elapsed >= std::chrono::milliseconds(timeoutMs) * 9 / 10);
    if (timedOut) {
        const double seconds = timeoutMs / 1000.0;
        throw Refusal(u"O servidor de aplicação %1 em %2 não respondeu em %3 %4 (%5)."_s.arg(
            server, at, FormatFloatGeneral(seconds, QLocale()), seconds < 2 ? u"segundo"_s : u"segundos"_s,
            doing));
    }
    if (error == httplib::Error::Connection)
        throw Refusal(
            u"Não foi possível conectar ao servidor de aplicação em %1: %2."_s.arg(at, describe(error)));
    throw Refusal(u"A comunicação com o servidor de aplicação em %1 falhou (%2): %3."_s.arg(at, doing,
                                                                                            describe(error)));
}

[[noreturn]] void refuseOversized(const QString& at, std::size_t limit, const QString& doing) {
    const std::size_t mib = std::size_t{1} << 20;
    const QString bound = limit % mib == 0 ? u"%1 MiB"_s.arg(limit / mib) : u"%1 bytes"_s.arg(limit);
    throw Refusal(
        u"A resposta do servidor de aplicação em %1 (%2) excede o limite de %3 e foi recusada."_s.arg(
            at, doing, bound));
}

[[noreturn]] void refuseStatus(const QString& at, const httplib::Response& response, const QString& doing) {
    const QString text = serverErrorText(response.body);
    if (!text.isEmpty())
        throw Refusal(u"O servidor de aplicação em %1 recusou %2: %3"_s.arg(at, doing, text));
    throw Refusal(u"O servidor de aplicação em %1 respondeu com o erro HTTP %2 (%3)."_s.arg(at)
                      .arg(response.status)
                      .arg(doing));
}

} // namespace

void TNetConnection::Connect() {
    if (BeforeConnect)
        BeforeConnect(*this);
    Disconnect();
    const QString at = where(Host, Port);
    std::string hostName;
    try {
        hostName = proto::parseHost(Host.trimmed().toStdString());
    } catch (const std::invalid_argument& error) {
        throw Refusal(u"Não foi possível conectar ao servidor de aplicação em %1: endereço inválido %2"_s.arg(
            at, QString::fromUtf8(error.what())));
    }
    if (Port <= 0 || Port > 65535)
        throw Refusal(
            u"Não foi possível conectar ao servidor de aplicação em %1: endereço inválido."_s.arg(at));
    const int timeoutMs = TimeoutMs > 0 ? TimeoutMs : 1;
    auto client = std::make_unique<httplib::Client>(hostName, Port);
    const auto seconds = static_cast<time_t>(timeoutMs / 1000);
    const auto micros = static_cast<time_t>((timeoutMs % 1000) * 1000);
    client->set_connection_timeout(seconds, micros);
    client->set_read_timeout(seconds, micros);
    client->set_write_timeout(seconds, micros);
    // Without these every call waits for a delayed acknowledgement and pays a new handshake.
    client->set_tcp_nodelay(true);
    client->set_keep_alive(true);
    const QString secret = OperatorContext::instance().serverSecret();
    httplib::Headers headers;
    if (!secret.isEmpty())
        headers.emplace("Authorization", "Bearer " + secret.toStdString());

    const std::string body = nlohmann::json{{"server", ServerName.toStdString()}}.dump();
    const auto started = Clock::now();
    bool oversized = false;
    std::optional<httplib::Result> exchanged;
    const bool cancelled = awaitExchange(*client, [&] {
        exchanged.emplace(
            exchangeBounded(*client, "POST", proto::kSessionPath, headers, body, MaxAnswerBytes, oversized));
    });
    const QString doing = u"abertura de sessão em %1"_s.arg(ServerName);
    if (cancelled)
        refuseCancelled(ServerName, at, doing);
    if (oversized)
        refuseOversized(at, MaxAnswerBytes, doing);
    httplib::Result& response = *exchanged;
    if (!response)
        refuseTransport(ServerName, at, response.error(), Clock::now() - started, timeoutMs, doing);
    if (response->status != 200)
        refuseStatus(at, *response, u"a sessão em %1"_s.arg(ServerName));
    const auto doc = answerDocument(response->body);
    if (!doc.is_object() || !doc.contains("session") || !doc["session"].is_string() ||
        doc["session"].get<std::string>().empty())
        throw Refusal(u"Resposta inválida do servidor de aplicação em %1 à abertura de sessão em %2."_s.arg(
            at, ServerName));
    impl_->token = doc["session"].get<std::string>();
    impl_->client = std::move(client);
    impl_->headers = std::move(headers);
    impl_->nextId = 1;
}

void TNetConnection::Disconnect() {
    if (!impl_->client)
        return;
    try {
        if (!impl_->token.empty() && !impl_->unresponsive) {
            bool oversized = false;
            exchangeBounded(*impl_->client, "DELETE", std::string(proto::kSessionPath) + "/" + impl_->token,
                            impl_->headers, {}, MaxAnswerBytes, oversized);
        }
    } catch (...) {
        // Closing is best effort: the server drops idle sessions on its own.
    }
    dropSession();
}

void TNetConnection::dropSession() {
    impl_->client.reset();
    impl_->token.clear();
    impl_->headers.clear();
    impl_->unresponsive = false;
}

bool TNetConnection::Connected() const {
    return impl_->client && !impl_->token.empty();
}

ServerResult TNetConnection::Call(const QString& method, const std::vector<CallArg>& args) {
    const QString at = where(Host, Port);
    if (!Connected())
        throw Refusal(u"Sem conexão com o servidor de aplicação em %1: o método %2 não pode ser chamado. "
                      u"Feche esta tela e abra-a novamente para reconectar."_s.arg(at, method));
    std::vector<proto::Value> params;
    params.reserve(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        params.push_back(toWire(args[i], i, method));
    const std::int64_t id = impl_->nextId++;
    const std::string body = proto::encodeRequest(id, method.toStdString(), params);
    httplib::Headers headers = impl_->headers;
    headers.emplace(proto::kSessionHeader, impl_->token);

    const int timeoutMs = TimeoutMs > 0 ? TimeoutMs : 1;
    const auto started = Clock::now();
    bool oversized = false;
    std::optional<httplib::Result> exchanged;
    const bool cancelled = awaitExchange(*impl_->client, [&] {
        exchanged.emplace(exchangeBounded(*impl_->client, "POST", proto::kRpcPath, headers, body,
                                          MaxAnswerBytes, oversized));
    });
    const QString doing = u"método %1"_s.arg(method);
    impl_->unresponsive = cancelled;
    if (cancelled)
        refuseCancelled(ServerName, at, doing);
    if (oversized)
        refuseOversized(at, MaxAnswerBytes, doing);
    httplib::Result& response = *exchanged;
    if (!response)
        refuseTransport(ServerName, at, response.error(), Clock::now() - started, timeoutMs, doing);
    // The server routes every call through one path, so "not found" there means the session: it
    // expired or the server no longer knows it. The connection is dead from here on, and opening a
    // new session behind the user's back would run the rest of the screen on state it never saw.
    if (response->status == 404) {
        dropSession();
        throw Refusal(u"A sessão com o servidor de aplicação em %1 expirou ou não é mais reconhecida pelo "
                      u"servidor (%2). Feche esta tela e abra-a novamente para reconectar."_s.arg(at, doing));
    }
    if (response->status != 200)
        refuseStatus(at, *response, u"o método %1"_s.arg(method));

    proto::RpcResponse answer;
    try {
        answer = proto::decodeResponse(response->body, id);
    } catch (const proto::ProtocolError& error) {
        throw Refusal(u"Resposta inválida do servidor de aplicação em %1 ao método %2: %3"_s.arg(
            at, method, QString::fromUtf8(error.what())));
    }
    ServerResult result;
    if (!answer.ok) {
        result.error = QString::fromStdString(answer.errorMessage);
        if (result.error.isEmpty())
            result.error =
                u"O método %1 falhou no servidor de aplicação sem informar o motivo."_s.arg(method);
        return result;
    }
    // Every returned value is checked before any is written, so a bad answer leaves the caller's
    // variables as they were.
    std::vector<std::pair<double*, double>> writes;
    for (const auto& [index, value] : answer.out) {
        const auto bad = [&, index = index](const QString& why) {
            return Refusal(
                u"Resposta inválida do servidor de aplicação em %1 ao método %2: parâmetro de retorno %3 %4."_s
                    .arg(at, method)
                    .arg(index)
                    .arg(why));
        };
        if (index < 0 || static_cast<std::size_t>(index) >= args.size() ||
            !std::holds_alternative<ByRefDate>(args[static_cast<std::size_t>(index)]))
            throw bad(u"não é um argumento por referência"_s);
        const std::optional<proto::DateTime> date =
            value.is_string() ? proto::parseDateTime(value.get<std::string>()) : std::nullopt;
        if (!date)
            throw bad(u"não é uma data válida"_s);
        writes.emplace_back(std::get<ByRefDate>(args[static_cast<std::size_t>(index)]).days, date->days);
    }
    for (const auto& [target, days] : writes)
        *target = days;
    result.ok = true;
    result.packet = std::move(answer.packet);
    return result;
}

void SetExchangeWaiter(ExchangeWaiter waiter) {
    waiterSlot() = std::move(waiter);
}

proto::Packet CheckResultServ(const ServerResult& result, bool /*raise*/, int /*context*/) {
    if (!result.ok)
        throw Refusal(result.error.isEmpty() ? u"O servidor de aplicação recusou a chamada."_s
                                             : result.error);
    return result.packet;
}

} // namespace host
