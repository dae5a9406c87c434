#include "check/PipelinedSession.h"

#include "protocol/ForeignJson.h"
#include "protocol/HostPort.h"
#include "protocol/Rpc.h"
#include "protocol/Wire.h"

#include <boost/asio/buffer.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace check {

namespace bhttp = boost::beast::http;
using bench::CallFailure;
using bench::ServerUnreachable;
using bench::SessionLost;

namespace {

// Requests written before their answers are read: few enough that they always fit the server's
// receive buffer, so that neither side ever waits on a full socket for the other.
constexpr std::size_t kWindowBytes = 32 * 1024;
constexpr std::size_t kReadStep = 32 * 1024;
constexpr std::uint32_t kMaxHeadBytes = 16 * 1024;

void setTimeout(int fd, int option, int seconds) {
    timeval limit{};
    limit.tv_sec = std::max(seconds, 1);
    ::setsockopt(fd, SOL_SOCKET, option, &limit, sizeof limit);
}

} // namespace

PipelinedSession::PipelinedSession(const std::string& host, int port, const bench::ServerAccess& access)
    : host_(host), port_(port), access_(access) {
    // It goes into every request's head, where a line end would start a header of its own.
    if (access_.secret.find_first_of("\r\n") != std::string::npos)
        throw CallFailure("o segredo de --secret-file contém uma quebra de linha no meio");
    connect();
    const std::string body = std::string(R"({"server":")") + proto::kServerModule + R"("})";
    const std::optional<Answer> opened =
        sendAll(head("POST", proto::kSessionPath, body.size()) + body) ? readAnswer() : std::nullopt;
    if (!opened)
        throw ServerUnreachable("POST /session: sem resposta (o servidor fechou a conexão)");
    if (opened->status != 200)
        throw CallFailure(refusal("POST /session", *opened));
    try {
        token_ = proto::parseForeignJson(opened->body).at("session");
    } catch (const std::exception&) {
        throw CallFailure("POST /session: resposta sem o token da sessão");
    }
    if (opened->close)
        disconnect();
}

PipelinedSession::~PipelinedSession() {
    // Over a connection that failed the session is left to expire: a server that stopped answering
    // would hold the tool here for the whole time-out.
    if (token_.empty() || fd_ < 0)
        return;
    try {
        if (sendAll(head("DELETE", std::string(proto::kSessionPath) + "/" + token_, 0)))
            readAnswer();
    } catch (const std::exception&) {
        // The session expires on the server by itself.
    }
    disconnect();
}

std::vector<proto::Packet> PipelinedSession::call(const std::vector<Call>& calls,
                                                  const std::function<void()>& meanwhile) {
    std::vector<proto::Packet> packets(calls.size());
    std::size_t next = 0;
    bool meanwhileRan = false;
    while (next < calls.size()) {
        const bool fresh = fd_ < 0;
        if (fresh)
            connect();
        std::string requests;
        std::vector<std::int64_t> ids;
        for (std::size_t i = next; i < calls.size() && (ids.empty() || requests.size() < kWindowBytes); ++i) {
            const std::string body =
                proto::encodeRequest(++id_, calls[i].method, bench::paramValues(calls[i].params));
            requests += head("POST", proto::kRpcPath, body.size());
            requests += body;
            ids.push_back(id_);
        }
        std::size_t answered = 0;
        bool closed = false;
        try {
            closed = !sendAll(requests);
            if (meanwhile && !meanwhileRan) {
                meanwhileRan = true;
                meanwhile();
            }
            for (; !closed && answered < ids.size(); ++answered) {
                std::optional<Answer> answer = readAnswer();
                if (!answer) {
                    closed = true;
                    break;
                }
                const std::string& method = calls[next + answered].method;
                if (answer->status != 200)
                    throw SessionLost(refusal(method, *answer));
                packets[next + answered] = bench::answeredPacket(method, answer->body, ids[answered]);
                closed = answer->close;
            }
        } catch (...) {
            // The answers still on their way belong to calls no longer waited for.
            disconnect();
            throw;
        }
        next += answered;
        if (closed) {
            // A kept-alive connection the server let go goes again on a new one; a new one that
            // ends before its first answer is a server that does not answer.
            disconnect();
            if (fresh && answered == 0)
                throw ServerUnreachable(calls[next].method + ": sem resposta (o servidor fechou a conexão)");
        }
    }
    return packets;
}

void PipelinedSession::connect() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string where = proto::formatHostPort(host_, port_);
    if (::getaddrinfo(host_.c_str(), std::to_string(port_).c_str(), &hints, &found) != 0 || !found)
        throw ServerUnreachable("não foi possível encontrar o servidor " + where);
    std::string failure = "sem resposta";
    for (const addrinfo* address = found; address && fd_ < 0; address = address->ai_next) {
        const int fd =
            ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
        if (fd < 0)
            continue;
        // Linux bounds connect() by the send time-out.
        setTimeout(fd, SO_SNDTIMEO, std::min(5, access_.timeoutSeconds));
        if (::connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
            fd_ = fd;
        } else {
            failure = std::strerror(errno);
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    if (fd_ < 0)
        throw ServerUnreachable("não foi possível conectar ao servidor " + where + ": " + failure);
    const int yes = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    setTimeout(fd_, SO_SNDTIMEO, access_.timeoutSeconds);
    setTimeout(fd_, SO_RCVTIMEO, access_.timeoutSeconds);
    in_.clear();
}

void PipelinedSession::disconnect() noexcept {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    in_.clear();
}

bool PipelinedSession::sendAll(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EPIPE || errno == ECONNRESET))
            return false;
        if (n <= 0)
            throw ServerUnreachable(std::string("falha ao enviar ao servidor: ") +
                                    (errno == EAGAIN ? "tempo esgotado" : std::strerror(errno)));
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<PipelinedSession::Answer> PipelinedSession::readAnswer() {
    bhttp::response_parser<bhttp::string_body> parser;
    parser.header_limit(kMaxHeadBytes);
    parser.body_limit(kMaxAnswerBytes);
    // The head alone first: an eager parser that meets a body above the limit goes on to make
    // room for it before it says so.
    parser.eager(false);
    // Each read waits the time-out at most, and so does the whole answer: a server that trickles
    // a byte now and then is no server.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(access_.timeoutSeconds);
    bool begun = false;
    while (!parser.is_done()) {
        boost::beast::error_code ec;
        if (!in_.empty()) {
            begun = true;
            const std::size_t used = parser.put(boost::asio::buffer(in_), ec);
            in_.erase(0, used);
            if (parser.is_done())
                break;
            if (ec == bhttp::error::body_limit)
                throw ServerUnreachable("resposta do servidor grande demais: mais de " +
                                        std::to_string(kMaxAnswerBytes / (1024 * 1024)) + " MiB");
            if (ec == bhttp::error::header_limit)
                throw ServerUnreachable("cabeçalho da resposta do servidor grande demais");
            if (ec && ec != bhttp::error::need_more)
                throw ServerUnreachable("resposta HTTP inválida do servidor: " + ec.message());
            if (parser.is_header_done())
                parser.eager(true);
            if (!ec && used > 0)
                continue;
            if (in_.size() > kMaxHeadBytes && !parser.is_header_done())
                throw ServerUnreachable("cabeçalho da resposta do servidor grande demais");
        }
        if (begun && std::chrono::steady_clock::now() > deadline)
            throw ServerUnreachable("resposta do servidor lenta demais: mais de " +
                                    std::to_string(access_.timeoutSeconds) + " s");
        char chunk[kReadStep];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        const int failure = errno;
        if (n > 0)
            in_.append(chunk, static_cast<std::size_t>(n));
        if (n < 0 && failure == EINTR)
            continue;
        if (n < 0 && failure == ECONNRESET && !begun)
            return std::nullopt;
        if (n < 0)
            throw ServerUnreachable(failure == EAGAIN
                                        ? "sem resposta do servidor em " +
                                              std::to_string(access_.timeoutSeconds) + " s"
                                        : std::string("falha ao ler do servidor: ") + std::strerror(failure));
        if (n == 0) {
            if (!begun)
                return std::nullopt;
            parser.put_eof(ec);
            if (ec || !parser.is_done())
                throw ServerUnreachable("o servidor fechou a conexão no meio de uma resposta");
        }
    }
    Answer answer;
    answer.status = static_cast<int>(parser.get().result_int());
    answer.close = !parser.get().keep_alive();
    answer.body = std::move(parser.get().body());
    return answer;
}

std::string PipelinedSession::head(const char* method, const std::string& target,
                                   std::size_t bodyBytes) const {
    std::string text = std::string(method) + " " + target +
                       " HTTP/1.1\r\nHost: " + proto::formatHostPort(host_, port_) + "\r\n";
    if (!access_.secret.empty())
        text += "Authorization: Bearer " + access_.secret + "\r\n";
    if (!token_.empty())
        text += std::string(proto::kSessionHeader) + ": " + token_ + "\r\n";
    if (bodyBytes > 0)
        text += "Content-Type: application/json\r\n";
    text += "Content-Length: " + std::to_string(bodyBytes) + "\r\n\r\n";
    return text;
}

std::string PipelinedSession::refusal(const std::string& what, const Answer& answer) const {
    return bench::refusalText(what, answer.status, !access_.secret.empty());
}

} // namespace check
