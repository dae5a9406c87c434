#include "server/RpcHttpServer.h"

#include "protocol/ForeignJson.h"
#include "protocol/Rpc.h"
#include "protocol/Wire.h"
#include "server/CallError.h"
#include "server/RemoteDataModule.h"
#include "server/rules/BoundedText.h"
#include "server/sessions/ClientAddress.h"
#include "server/sessions/SessionStore.h"
#include "server/store/DatabaseError.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdio>
#include <mutex>

namespace server {
namespace {

using nlohmann::json;

const std::string kSessionPrefix = std::string(proto::kSessionPath) + "/";
constexpr const char* kHealthPath = "/health";
const std::string kSessionsOut = "O banco de dados de sessões não responde; tente novamente em instantes.";

enum class Route { OpenSession, CloseSession, Rpc, Health, WrongMethod, Unknown };

bool isStandardMethod(const std::string& method) {
    for (const char* known : {"GET", "POST", "PUT", "PATCH", "DELETE", "HEAD", "OPTIONS"})
        if (method == known)
            return true;
    return false;
}

std::string pathOf(const http::Head& head) {
    return head.target.substr(0, head.target.find('?'));
}

Route routeOf(const http::Head& head) {
    const std::string path = pathOf(head);
    const auto expect = [&](const char* method, Route route) {
        return head.method == method ? route : Route::WrongMethod;
    };
    if (path == proto::kSessionPath)
        return expect("POST", Route::OpenSession);
    if (path == proto::kRpcPath)
        return expect("POST", Route::Rpc);
    if (path == kHealthPath)
        return expect("GET", Route::Health);
    if (path.size() > kSessionPrefix.size() && path.rfind(kSessionPrefix, 0) == 0 &&
        path.find('/', kSessionPrefix.size()) == std::string::npos)
        return expect("DELETE", Route::CloseSession);
    return isStandardMethod(head.method) ? Route::Unknown : Route::WrongMethod;
}

http::Answer errorAnswer(int status, const std::string& message, const std::string& logNote = {}) {
    http::Answer answer;
    answer.status = status;
    answer.body = json{{"error", message}}.dump(-1, ' ', false, json::error_handler_t::replace);
    answer.logNote = logNote.empty() ? message : logNote;
    return answer;
}

http::Answer jsonAnswer(std::string body, std::string logNote) {
    http::Answer answer;
    answer.body = std::move(body);
    answer.logNote = std::move(logNote);
    return answer;
}

// Compares without stopping at the first difference, so the answer time says nothing about the
// secret.
bool sameSecret(const std::string& given, const std::string& secret) {
    unsigned char difference = given.size() == secret.size() ? 0 : 1;
    for (std::size_t i = 0; i < given.size(); ++i)
        difference |= static_cast<unsigned char>(given[i] ^ secret[i % (secret.empty() ? 1 : secret.size())]);
    return difference == 0;
}

// A session token in a log would let whoever reads the log act as that session: only its first
// characters are kept, enough to tell the requests of one session from another's.
std::string loggedPath(const std::string& path) {
    if (path.rfind(kSessionPrefix, 0) != 0 || path.size() <= kSessionPrefix.size() + 8)
        return path;
    return path.substr(0, kSessionPrefix.size() + 8) + "...";
}

} // namespace

struct RpcHttpServer::Impl : http::Handler {
    Impl(RemoteDataModule& m, Config c)
        : module(m), config(std::move(c)),
          sessions(makeSessionStore(config.sessionsUrl,
                                    SessionStore::Limits{config.sessionIdle, config.maxSessions,
                                                         config.sessionGrace, config.maxSessionsPerAddress})),
          transport(*this, transportConfig(config)) {}

    static http::TransportConfig transportConfig(const Config& config) {
        http::TransportConfig transport = config.transport;
        transport.workers = config.threads;
        return transport;
    }

    std::optional<http::Answer> admit(const http::Head& head) override;
    http::Answer answer(const http::Head& head, std::string body) override;
    http::Answer refusal(int status, const std::string& reason) override {
        return errorAnswer(status, reason);
    }
    void logged(const http::Head* head, const http::Answer& answer, double elapsedMs) override;

    http::Answer openSession(const http::Head& head, const std::string& body);
    http::Answer closeSession(const http::Head& head);
    http::Answer rpc(const http::Head& head, const std::string& body);
    http::Answer rpcCall(const http::Head& head, const std::string& body, std::string& method);
    http::Answer health();

    RemoteDataModule& module;
    Config config;
    std::unique_ptr<SessionStore> sessions;
    std::mutex logMutex;
    // The last health verdict and when it was reached: a balancer checking every server each second
    // costs the databases one look a second, however many balancers there are.
    std::mutex healthMutex;
    std::optional<std::chrono::steady_clock::time_point> healthCheckedAt;
    http::Answer healthAnswer;
    // Last: its workers stop before the sessions and the module they call go.
    http::Transport transport;
};

std::optional<http::Answer> RpcHttpServer::Impl::admit(const http::Head& head) {
    // The balancer's health checks carry no secret, and the answer tells nothing but up or down.
    if (routeOf(head) == Route::Health)
        return std::nullopt;
    if (config.secret) {
        const std::string* header = head.field("Authorization");
        const std::string prefix = "Bearer ";
        if (!header || header->rfind(prefix, 0) != 0 ||
            !sameSecret(header->substr(prefix.size()), *config.secret)) {
            http::Answer refused = errorAnswer(401, "Acesso negado: credencial ausente ou inválida.");
            refused.headers.emplace_back("WWW-Authenticate", "Bearer");
            return refused;
        }
    }
    switch (routeOf(head)) {
    case Route::WrongMethod:
        return errorAnswer(405, "Método HTTP não permitido neste recurso: " + boundedText(head.method) + ".");
    case Route::Unknown:
        return errorAnswer(404, "Recurso desconhecido neste servidor: " + boundedText(pathOf(head)));
    default:
        return std::nullopt;
    }
}

http::Answer RpcHttpServer::Impl::answer(const http::Head& head, std::string body) {
    switch (routeOf(head)) {
    case Route::OpenSession: {
        http::Answer answer = openSession(head, body);
        answer.logWhat = "abrir sessão";
        return answer;
    }
    case Route::CloseSession: {
        http::Answer answer = closeSession(head);
        answer.logWhat = "fechar sessão";
        return answer;
    }
    case Route::Rpc:
        return rpc(head, body);
    case Route::Health:
        return health();
    default:
        return *admit(head);
    }
}

http::Answer RpcHttpServer::Impl::openSession(const http::Head& head, const std::string& body) {
    json request;
    try {
        request = proto::parseForeignJson(body);
    } catch (const proto::JsonTooDeep& error) {
        return errorAnswer(400, error.what());
    }
    if (request.is_discarded())
        return errorAnswer(400, "Pedido de sessão ilegível: não é um documento JSON válido.");
    const auto server = request.is_object() ? request.find("server") : request.end();
    if (!request.is_object() || server == request.end() || !server->is_string())
        return errorAnswer(400, "Pedido de sessão inválido: falta o nome do módulo remoto (\"server\").");
    if (server->get_ref<const std::string&>() != proto::kServerModule)
        return errorAnswer(404, "Módulo remoto desconhecido: \"" +
                                    boundedText(server->get_ref<const std::string&>()) +
                                    "\". Este servidor atende \"" + proto::kServerModule + "\".");
    const std::string client =
        clientAddress(head.peer, head.lastField("X-Forwarded-For"), config.trustedProxy);
    SessionStore::Opened opened;
    try {
        opened = sessions->open(addressGroup(client));
    } catch (const SessionStoreError& error) {
        return errorAnswer(503, kSessionsOut, error.what());
    }
    switch (opened.refusal) {
    case SessionStore::Refusal::AddressFull:
        return errorAnswer(429, "Limite de " + std::to_string(config.maxSessionsPerAddress) +
                                    " sessões por endereço atingido para " + boundedText(client) +
                                    "; feche uma sessão antes de abrir outra.");
    case SessionStore::Refusal::Full:
        return errorAnswer(429, "Limite de " + std::to_string(config.maxSessions) +
                                    " sessões atingido e nenhuma está ociosa há mais de " +
                                    std::to_string(config.sessionGrace.count()) +
                                    " s; tente novamente mais tarde.");
    case SessionStore::Refusal::None:
        break;
    }
    return jsonAnswer(json{{"session", *opened.token}}.dump(), "ok");
}

http::Answer RpcHttpServer::Impl::closeSession(const http::Head& head) {
    try {
        if (!sessions->close(pathOf(head).substr(kSessionPrefix.size())))
            return errorAnswer(404, "Sessão desconhecida ou expirada.");
    } catch (const SessionStoreError& error) {
        return errorAnswer(503, kSessionsOut, error.what());
    }
    return jsonAnswer("{}", "ok");
}

http::Answer RpcHttpServer::Impl::rpc(const http::Head& head, const std::string& body) {
    std::string method = "rpc";
    http::Answer answer = rpcCall(head, body, method);
    answer.logWhat = boundedText(method);
    return answer;
}

http::Answer RpcHttpServer::Impl::rpcCall(const http::Head& head, const std::string& body,
                                          std::string& method) {
    const std::string* token = head.field(proto::kSessionHeader);
    if (!token || token->empty())
        return errorAnswer(400, "Falta o cabeçalho X-Session: abra uma sessão antes de chamar métodos.");

    json id = nullptr;
    try {
        const proto::RpcRequest request = proto::decodeRequest(body);
        id = request.id;
        method = request.method;
        // The answer is written inside the call: with shared sessions all of it overlaps the
        // session's check in the database.
        http::Answer answer;
        const bool known = sessions->use(*token, [&](SessionState& state) {
            const CallResult result = module.call(request.method, request.params, state);
            answer = jsonAnswer(proto::encodeResult(request.id, result.packet, result.out),
                                "ok, " + std::to_string(result.packet.rows.size()) + " linhas");
        });
        if (!known)
            return errorAnswer(404, "Sessão desconhecida ou expirada; conecte-se novamente.");
        return answer;
    } catch (const proto::RpcRequestError& error) {
        return jsonAnswer(proto::encodeError(error.id(), error.code(), error.what()),
                          "erro " + std::to_string(error.code()) + ": " + error.what());
    } catch (const CallError& error) {
        std::string note = "erro " + std::to_string(error.code()) + ": " + error.what();
        if (!error.detail().empty())
            note += " (" + error.detail() + ")";
        return jsonAnswer(proto::encodeError(id, error.code(), error.what()), note);
    } catch (const SessionStoreError& error) {
        return errorAnswer(503, kSessionsOut, error.what());
    }
}

http::Answer RpcHttpServer::Impl::health() {
    const auto now = std::chrono::steady_clock::now();
    const std::lock_guard lock(healthMutex);
    if (healthCheckedAt && now - *healthCheckedAt < std::chrono::seconds(1))
        return healthAnswer;
    http::Answer verdict;
    verdict.contentType = "text/plain; charset=utf-8";
    verdict.logNote = "ok";
    try {
        module.checkDatabase();
        sessions->check();
    } catch (const DatabaseError& error) {
        verdict = errorAnswer(503, "O banco de dados do sistema não responde.", error.what());
    } catch (const SessionStoreError& error) {
        verdict = errorAnswer(503, kSessionsOut, error.what());
    }
    verdict.logWhat = "saúde";
    healthAnswer = verdict;
    healthCheckedAt = std::chrono::steady_clock::now();
    return verdict;
}

void RpcHttpServer::Impl::logged(const http::Head* head, const http::Answer& answer, double elapsedMs) {
    if (!config.log)
        return;
    // A balancer asks every server for its health every second or two: only a server found out of
    // service is worth a line.
    if (head && routeOf(*head) == Route::Health && answer.status == 200)
        return;
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.3f ms", elapsedMs);
    std::string line = head ? head->method + " " + loggedPath(pathOf(*head)) : std::string("-");
    if (!answer.logWhat.empty())
        line += " " + answer.logWhat;
    line += " " + std::string(elapsed) + " " + std::to_string(answer.status);
    if (!answer.logNote.empty())
        line += " " + answer.logNote;
    // Method names and messages come from the client: keep them from forging extra log lines or
    // filling the disk.
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    line = boundedText(line, kMaxLogLineBytes) + "\n";
    const std::lock_guard lock(logMutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

RpcHttpServer::RpcHttpServer(RemoteDataModule& module, Config config)
    : impl_(std::make_unique<Impl>(module, std::move(config))) {}

RpcHttpServer::~RpcHttpServer() {
    stop();
}

int RpcHttpServer::bind(const std::string& host, int port) {
    return impl_->transport.bind(host, port);
}

void RpcHttpServer::run() {
    impl_->transport.run();
}

void RpcHttpServer::stop() {
    impl_->transport.stop();
}

bool RpcHttpServer::running() const {
    return impl_->transport.running();
}

} // namespace server
