#include "server/RpcHttpServer.h"

#include "protocol/Rpc.h"
#include "protocol/Wire.h"
#include "server/CallError.h"
#include "server/RemoteDataModule.h"
#include "server/SessionStore.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <sys/socket.h>

namespace server {
namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

// What the access log says about the request this thread is serving. httplib calls the pre-routing
// handler, the route and the logger on the connection's own thread, so a thread-local note carries
// the start time and the outcome from one to the other.
struct RequestNote {
    std::optional<Clock::time_point> start;
    std::string what;
    std::string outcome;
};
thread_local RequestNote tNote;

const char* kJson = "application/json";

void sendError(httplib::Response& res, int status, const std::string& message) {
    res.status = status;
    res.set_content(json{{"error", message}}.dump(-1, ' ', false, json::error_handler_t::replace), kJson);
    tNote.outcome = message;
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
    const std::string prefix = "/session/";
    if (path.rfind(prefix, 0) != 0 || path.size() <= prefix.size() + 8)
        return path;
    return path.substr(0, prefix.size() + 8) + "...";
}

std::string statusMessage(int status) {
    switch (status) {
    case 400:
        return "Requisição HTTP inválida.";
    case 404:
        return "Recurso desconhecido neste servidor.";
    case 405:
        return "Método HTTP não permitido neste recurso.";
    case 413:
        return "Requisição excede o tamanho máximo de 1 MiB.";
    default:
        return "Erro HTTP " + std::to_string(status) + ".";
    }
}

} // namespace

struct RpcHttpServer::Impl {
    Impl(RemoteDataModule& m, Config c)
        : module(m), config(std::move(c)), sessions(config.sessionIdle, config.maxSessions) {}

    RemoteDataModule& module;
    Config config;
    SessionStore sessions;
    httplib::Server http;
    std::mutex logMutex;
    int listenSocket = -1;

    void setUp();
    bool authorised(const httplib::Request& req, httplib::Response& res);
    void unknown(const httplib::Request& req, httplib::Response& res);
    void openSession(const httplib::Request& req, httplib::Response& res);
    void closeSession(const httplib::Request& req, httplib::Response& res);
    void rpc(const httplib::Request& req, httplib::Response& res);
    void log(const httplib::Request& req, const httplib::Response& res);
};

void RpcHttpServer::Impl::setUp() {
    const int threads = config.threads;
    http.new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<std::size_t>(threads)); };
    // Without it every call waits on delayed acknowledgements.
    http.set_tcp_nodelay(true);
    // The library listens with a backlog of five: a burst of clients connecting at once overflows it
    // and the kernel resets some of them. bind() widens it on the socket remembered here.
    http.set_socket_options([this](socket_t sock) {
        httplib::default_socket_options(sock);
        listenSocket = sock;
    });
    // The client keeps one connection for the whole session; the library's default closes it every
    // five requests.
    http.set_keep_alive_max_count(1000000);
    http.set_payload_max_length(proto::kMaxBodyBytes);

    http.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        tNote = RequestNote{Clock::now(), {}, {}};
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // The credential is checked inside the routes, after the body was read: refusing earlier would
    // leave the unread body on a kept-alive connection, to be parsed as the next request.
    const auto guarded = [this](void (Impl::*route)(const httplib::Request&, httplib::Response&)) {
        return [this, route](const httplib::Request& req, httplib::Response& res) {
            if (authorised(req, res))
                (this->*route)(req, res);
        };
    };
    http.Post(proto::kSessionPath, guarded(&Impl::openSession));
    http.Delete(R"(/session/([^/]+))", guarded(&Impl::closeSession));
    http.Post(proto::kRpcPath, guarded(&Impl::rpc));
    // Everything else: 401 without the credential, 404 with it.
    http.Get(".*", guarded(&Impl::unknown));
    http.Post(".*", guarded(&Impl::unknown));
    http.Put(".*", guarded(&Impl::unknown));
    http.Patch(".*", guarded(&Impl::unknown));
    http.Delete(".*", guarded(&Impl::unknown));
    http.set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            sendError(res, res.status, statusMessage(res.status));
            return httplib::Server::HandlerResponse::Handled;
        }));
    http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr error) {
        std::string what = "erro desconhecido";
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        sendError(res, 500, "Erro interno do servidor: " + what);
    });
    http.set_logger([this](const httplib::Request& req, const httplib::Response& res) { log(req, res); });
}

bool RpcHttpServer::Impl::authorised(const httplib::Request& req, httplib::Response& res) {
    if (!config.secret)
        return true;
    const std::string header = req.get_header_value("Authorization");
    const std::string prefix = "Bearer ";
    if (header.rfind(prefix, 0) == 0 && sameSecret(header.substr(prefix.size()), *config.secret))
        return true;
    res.set_header("WWW-Authenticate", "Bearer");
    sendError(res, 401, "Acesso negado: credencial ausente ou inválida.");
    return false;
}

void RpcHttpServer::Impl::unknown(const httplib::Request& req, httplib::Response& res) {
    sendError(res, 404, "Recurso desconhecido neste servidor: " + req.path);
}

void RpcHttpServer::Impl::openSession(const httplib::Request& req, httplib::Response& res) {
    tNote.what = "abrir sessão";
    json body;
    try {
        body = json::parse(req.body);
    } catch (const json::exception&) {
        return sendError(res, 400, "Pedido de sessão ilegível: não é um documento JSON válido.");
    }
    const auto server = body.is_object() ? body.find("server") : body.end();
    if (!body.is_object() || server == body.end() || !server->is_string())
        return sendError(res, 400, "Pedido de sessão inválido: falta o nome do módulo remoto (\"server\").");
    if (server->get<std::string>() != proto::kServerModule)
        return sendError(res, 404,
                         "Módulo remoto desconhecido: \"" + server->get<std::string>() +
                             "\". Este servidor atende \"" + proto::kServerModule + "\".");
    const auto token = sessions.open();
    if (!token)
        return sendError(res, 429,
                         "Limite de " + std::to_string(config.maxSessions) +
                             " sessões atingido; tente novamente mais tarde.");
    res.set_content(json{{"session", *token}}.dump(), kJson);
    tNote.outcome = "ok";
}

void RpcHttpServer::Impl::closeSession(const httplib::Request& req, httplib::Response& res) {
    tNote.what = "fechar sessão";
    if (!sessions.close(req.matches[1]))
        return sendError(res, 404, "Sessão desconhecida ou expirada.");
    res.set_content("{}", kJson);
    tNote.outcome = "ok";
}

void RpcHttpServer::Impl::rpc(const httplib::Request& req, httplib::Response& res) {
    tNote.what = "rpc";
    const std::string token = req.get_header_value(proto::kSessionHeader);
    if (token.empty())
        return sendError(res, 400, "Falta o cabeçalho X-Session: abra uma sessão antes de chamar métodos.");
    const auto session = sessions.find(token);
    if (!session)
        return sendError(res, 404, "Sessão desconhecida ou expirada; conecte-se novamente.");

    json id = nullptr;
    try {
        const proto::RpcRequest request = proto::decodeRequest(req.body);
        id = request.id;
        tNote.what = request.method;
        CallResult result;
        {
            const std::lock_guard lock(session->mutex);
            result = module.call(request.method, request.params, session->state);
        }
        res.set_content(proto::encodeResult(request.id, result.packet, result.out), kJson);
        tNote.outcome = "ok, " + std::to_string(result.packet.rows.size()) + " linhas";
    } catch (const proto::RpcRequestError& error) {
        res.set_content(proto::encodeError(error.id(), error.code(), error.what()), kJson);
        tNote.outcome = "erro " + std::to_string(error.code()) + ": " + error.what();
    } catch (const CallError& error) {
        res.set_content(proto::encodeError(id, error.code(), error.what()), kJson);
        tNote.outcome = "erro " + std::to_string(error.code()) + ": " + error.what();
    }
}

void RpcHttpServer::Impl::log(const httplib::Request& req, const httplib::Response& res) {
    if (!config.log)
        return;
    char elapsed[32] = "-";
    if (tNote.start)
        std::snprintf(elapsed, sizeof elapsed, "%.3f ms",
                      std::chrono::duration<double, std::milli>(Clock::now() - *tNote.start).count());
    std::string line = req.method + " " + loggedPath(req.path);
    if (!tNote.what.empty())
        line += " " + tNote.what;
    line += " " + std::string(elapsed) + " " + std::to_string(res.status);
    if (!tNote.outcome.empty())
        line += " " + tNote.outcome;
    // Method names and messages come from the client: keep them from forging extra log lines.
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    line += "\n";
    tNote = RequestNote{};
    const std::lock_guard lock(logMutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
}

RpcHttpServer::RpcHttpServer(RemoteDataModule& module, Config config)
    : impl_(std::make_unique<Impl>(module, std::move(config))) {
    impl_->setUp();
}

RpcHttpServer::~RpcHttpServer() {
    stop();
}

int RpcHttpServer::bind(const std::string& host, int port) {
    const int bound =
        port == 0 ? impl_->http.bind_to_any_port(host) : (impl_->http.bind_to_port(host, port) ? port : -1);
    if (bound <= 0)
        throw std::runtime_error("não foi possível escutar em " + host + ":" + std::to_string(port) + ".");
    // A second listen() on a listening socket only changes its backlog.
    ::listen(impl_->listenSocket, SOMAXCONN);
    return bound;
}

void RpcHttpServer::run() {
    impl_->http.listen_after_bind();
}

void RpcHttpServer::stop() {
    impl_->http.stop();
}

bool RpcHttpServer::running() const {
    return impl_->http.is_running();
}

} // namespace server
