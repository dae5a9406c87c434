// The server's only file that sees Asio and Beast: each of their headers costs seconds to compile,
// and with g++ 12 in C++20 the umbrella <boost/asio.hpp> does not compile at all, so they come one by
// one.
#include "server/http/Transport.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/error.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/status.hpp>
#include <boost/beast/http/string_body.hpp>

#include <algorithm>
#include <atomic>
#include <optional>
#include <stdexcept>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace server::http {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace bhttp = boost::beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using ErrorCode = beast::error_code;

constexpr std::size_t kReadStep = 16 * 1024;
// Answers to requests that came pipelined wait, up to this much, to leave in one write: one wake-up
// of the client and one send for the lot instead of one each.
constexpr std::size_t kHeldAnswerBytes = 64 * 1024;

// A header line of the transport's own making; a line end in it would start another header.
void appendField(std::string& out, std::string_view name, std::string_view value) {
    for (const std::string_view part : {name, std::string_view(": "), value})
        for (const char c : part)
            out += c == '\r' || c == '\n' ? ' ' : c;
    out += "\r\n";
}

std::string addressText(const asio::ip::address& address) {
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        return asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6()).to_string();
    return address.to_string();
}

} // namespace

struct Transport::Impl {
    Impl(Handler& h, TransportConfig c) : handler(h), config(std::move(c)), loops(makeLoops(config.workers)) {
        // A loop with no connection yet waits for one instead of returning.
        for (const auto& loop : loops)
            keepRunning.push_back(asio::make_work_guard(*loop));
    }

    static std::vector<std::unique_ptr<asio::io_context>> makeLoops(int count) {
        std::vector<std::unique_ptr<asio::io_context>> made;
        for (int i = 0; i < std::max(count, 1); ++i)
            made.push_back(std::make_unique<asio::io_context>(1));
        return made;
    }

    Handler& handler;
    TransportConfig config;
    // Before the loops: connections still queued in them count themselves out when they go.
    std::atomic<std::size_t> connections{0};
    // Open connections of each loop: a new one goes to the loop with fewest, so that connections
    // that stay do not pile up on one loop while others empty.
    std::vector<std::atomic<std::size_t>> loopConnections =
        std::vector<std::atomic<std::size_t>>(static_cast<std::size_t>(std::max(config.workers, 1)));
    std::atomic<bool> isRunning{false};
    // One event loop per thread, each running its connections from first byte to last: the thread
    // that finds a request complete computes and writes its answer. Neither a hand-over to a worker
    // and back nor threads taking turns at one loop, each of which costs, on a call of a fraction
    // of a millisecond, about as much as the call.
    std::vector<std::unique_ptr<asio::io_context>> loops;
    std::vector<asio::executor_work_guard<asio::io_context::executor_type>> keepRunning;
    tcp::acceptor acceptor{*loops.front()};
    asio::steady_timer acceptPause{*loops.front()};

    void accept();
};

namespace {

class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(Transport::Impl& server, std::size_t loop, tcp::socket socket)
        : server_(server), loop_(loop), socket_(std::move(socket)), timer_(socket_.get_executor()) {
        ++server_.connections;
        ++server_.loopConnections[loop_];
        ErrorCode ec;
        const auto remote = socket_.remote_endpoint(ec);
        if (!ec)
            peer_ = addressText(remote.address());
        socket_.set_option(tcp::no_delay(true), ec);
    }
    ~Connection() {
        --server_.connections;
        --server_.loopConnections[loop_];
    }

    void start() { waitForRequest(); }
    // Past the connection limit: a short answer and goodbye, so the client knows why.
    void refuseBusy() {
        started_ = Clock::now();
        refuse(503, "Servidor ocupado: limite de conexões simultâneas atingido; tente novamente mais tarde.");
    }

private:
    const HeadLimits& limits() const { return server_.config.limits; }

    void waitForRequest() {
        head_.reset();
        parser_.reset();
        if (!in_.empty())
            return beginRequest();
        // Between requests only the idle time-out runs; a connection that ends here has no answer due.
        arm(Clock::now() + server_.config.idleTimeout);
        read([](Connection& self) { self.beginRequest(); }, false);
    }

    void beginRequest() {
        started_ = Clock::now();
        deadline_ = started_ + server_.config.requestTimeout;
        readHead();
    }

    // Appends what arrives to the input and goes on with `next`; on the request's deadline answers 408.
    template <class Next> void read(Next next, bool inRequest) {
        // Never wait for the client with answers of its held back: it may be waiting for them.
        if (!out_.empty())
            return flush([next, inRequest](Connection& self) { self.read(next, inRequest); });
        const std::size_t had = in_.size();
        in_.resize(had + kReadStep);
        if (inRequest)
            arm(deadline_);
        socket_.async_read_some(
            asio::buffer(in_.data() + had, kReadStep),
            [self = shared_from_this(), had, next, inRequest](ErrorCode ec, std::size_t n) {
                self->in_.resize(had + n);
                if (self->timedOut_ && inRequest)
                    return self->refuse(408, "Tempo esgotado esperando a requisição.");
                if (ec || self->timedOut_)
                    return self->closeNow();
                next(*self);
            });
    }

    void readHead() {
        const auto end = in_.find("\r\n\r\n");
        if (end == std::string::npos) {
            if (in_.size() >= limits().maxHeadBytes)
                return refuse(431, headTooLarge(limits()));
            // A head with a bare line end never gets its blank line: refuse it now, not at the deadline.
            if (const std::string fault = lineEndFault(in_); !fault.empty())
                return refuse(400, fault);
            return read([](Connection& self) { self.readHead(); }, true);
        }
        const std::string headBytes = in_.substr(0, end + 4);
        in_.erase(0, end + 4);
        const HeadVerdict verdict = checkHead(headBytes, limits());
        if (!verdict.admitted())
            return refuse(verdict.status, verdict.reason);

        parser_.emplace();
        parser_->header_limit(static_cast<std::uint32_t>(limits().maxHeadBytes));
        parser_->body_limit(limits().maxBodyBytes);
        parser_->eager(true);
        ErrorCode ec;
        parser_->put(asio::buffer(headBytes), ec);
        if (ec || !parser_->is_header_done())
            return refuse(400, "Requisição HTTP inválida.");

        Head head;
        const auto& request = parser_->get();
        head.method = std::string(request.method_string());
        head.target = std::string(request.target());
        for (const auto& field : request)
            head.fields.emplace_back(std::string(field.name_string()), std::string(field.value()));
        head.peer = peer_;
        head.hasBody = verdict.framing == Framing::Chunked || verdict.contentLength > 0;
        head_ = std::move(head);
        if (auto refused = server_.handler.admit(*head_)) {
            // The body stays unread, so nothing after it on this connection can be trusted.
            refused->close = refused->close || head_->hasBody;
            return send(std::move(*refused));
        }
        bodyWire_ = 0;
        readBody();
    }

    void readBody() {
        while (!parser_->is_done()) {
            ErrorCode ec;
            const std::size_t used = in_.empty() ? 0 : parser_->put(asio::buffer(in_), ec);
            in_.erase(0, used);
            bodyWire_ += used;
            if (ec == bhttp::error::body_limit)
                return refuse(413, bodyTooLarge(limits()));
            if (ec && ec != bhttp::error::need_more)
                return refuse(400, "Requisição HTTP inválida: corpo malformado.");
            // Chunk sizes, their extensions and the trailer travel with the body: what the parser
            // cannot take yet is one of them, and together they get no more room than one more head.
            if ((ec == bhttp::error::need_more && in_.size() > limits().maxHeadBytes) ||
                bodyWire_ > limits().maxBodyBytes + limits().maxHeadBytes)
                return refuse(431, "Extensões de bloco ou campos finais excedem o limite do cabeçalho.");
            if (!parser_->is_done() && (in_.empty() || ec == bhttp::error::need_more))
                return read([](Connection& self) { self.readBody(); }, true);
        }
        dispatch();
    }

    void dispatch() {
        ++served_;
        disarm();
        Answer answer;
        try {
            answer = server_.handler.answer(*head_, std::move(parser_->get().body()));
        } catch (const std::exception& error) {
            answer = server_.handler.refusal(500, "Erro interno do servidor.");
            answer.logNote += std::string(" (") + error.what() + ")";
        }
        send(std::move(answer));
    }

    void refuse(int status, const std::string& reason) {
        Answer answer = server_.handler.refusal(status, reason);
        answer.close = true;
        send(std::move(answer));
    }

    void send(Answer answer) {
        const bool keepAlive = !answer.close && parser_ && parser_->keep_alive() &&
                               served_ < server_.config.maxRequestsPerConnection;
        const auto status = static_cast<unsigned>(answer.status);
        out_ += "HTTP/1.1 " + std::to_string(status) + " ";
        const auto reason = bhttp::obsolete_reason(bhttp::int_to_status(status));
        out_.append(reason.data(), reason.size());
        out_ += "\r\n";
        appendField(out_, "Content-Type", answer.contentType);
        for (const auto& [name, value] : answer.headers)
            appendField(out_, name, value);
        if (!keepAlive)
            appendField(out_, "Connection", "close");
        appendField(out_, "Content-Length", std::to_string(answer.body.size()));
        out_ += "\r\n";
        out_ += answer.body;
        server_.handler.logged(head_ ? &*head_ : nullptr, answer,
                               std::chrono::duration<double, std::milli>(Clock::now() - started_).count());
        if (!keepAlive)
            return flush([](Connection& self) { self.closeGently(); });
        // The next request is in already: answer it first, through the loop rather than from here,
        // so that a long pipeline never deepens the stack.
        if (!in_.empty() && out_.size() < kHeldAnswerBytes)
            return asio::post(socket_.get_executor(),
                              [self = shared_from_this()] { self->waitForRequest(); });
        flush([](Connection& self) { self.waitForRequest(); });
    }

    template <class Next> void flush(Next next) {
        arm(Clock::now() + server_.config.requestTimeout);
        asio::async_write(socket_, asio::buffer(out_),
                          [self = shared_from_this(), next](ErrorCode ec, std::size_t) {
                              self->out_.clear();
                              if (ec || self->timedOut_)
                                  return self->closeNow();
                              next(*self);
                          });
    }

    // Shut the write side and read what the client is still sending for a moment: closing with
    // unread bytes would reset the connection and the client would never read the answer.
    void closeGently() {
        ErrorCode ec;
        socket_.shutdown(tcp::socket::shutdown_send, ec);
        in_.clear();
        arm(Clock::now() + server_.config.linger);
        drain();
    }

    void drain() {
        in_.resize(kReadStep);
        socket_.async_read_some(asio::buffer(in_), [self = shared_from_this()](ErrorCode ec, std::size_t n) {
            self->drained_ += n;
            if (ec || self->timedOut_ ||
                self->drained_ > 2 * (self->limits().maxBodyBytes + self->limits().maxHeadBytes))
                return self->closeNow();
            self->drain();
        });
    }

    void closeNow() {
        disarm();
        ErrorCode ec;
        socket_.close(ec);
    }

    // The connection's one deadline: when it passes, whatever the socket is waiting for is cancelled
    // and its handler finds timedOut_ set.
    void arm(Clock::time_point when) {
        timedOut_ = false;
        timer_.expires_at(when);
        timer_.async_wait([self = shared_from_this(), generation = ++timerGeneration_](ErrorCode ec) {
            if (ec || generation != self->timerGeneration_)
                return;
            self->timedOut_ = true;
            ErrorCode ignored;
            self->socket_.cancel(ignored);
        });
    }

    void disarm() {
        ++timerGeneration_;
        timer_.cancel();
    }

    Transport::Impl& server_;
    std::size_t loop_;
    tcp::socket socket_;
    asio::steady_timer timer_;
    unsigned timerGeneration_ = 0;
    bool timedOut_ = false;
    std::string peer_;
    std::string in_;
    std::optional<bhttp::request_parser<bhttp::string_body>> parser_;
    std::optional<Head> head_;
    std::string out_; // answers written, not yet sent
    Clock::time_point started_ = Clock::now();
    Clock::time_point deadline_;
    std::size_t bodyWire_ = 0;
    std::size_t drained_ = 0;
    std::size_t served_ = 0;
};

} // namespace

void Transport::Impl::accept() {
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < loops.size(); ++i)
        if (loopConnections[i] < loopConnections[chosen])
            chosen = i;
    asio::io_context& loop = *loops[chosen];
    acceptor.async_accept(loop, [this, chosen, &loop](ErrorCode ec, tcp::socket socket) {
        if (!acceptor.is_open())
            return;
        if (ec) {
            // Out of descriptors: give lingering connections a moment to go instead of spinning.
            acceptPause.expires_after(std::chrono::milliseconds(50));
            acceptPause.async_wait([this](ErrorCode) { accept(); });
            return;
        }
        auto connection = std::make_shared<Connection>(*this, chosen, std::move(socket));
        // Started on its own loop, which alone touches it from now on.
        asio::post(loop, [connection, busy = connections > config.maxConnections] {
            if (busy)
                connection->refuseBusy();
            else
                connection->start();
        });
        accept();
    });
}

Transport::Transport(Handler& handler, TransportConfig config)
    : impl_(std::make_unique<Impl>(handler, std::move(config))) {}

Transport::~Transport() {
    stop();
}

int Transport::bind(const std::string& host, int port) {
    const std::string bare =
        host.size() > 2 && host.front() == '[' && host.back() == ']' ? host.substr(1, host.size() - 2) : host;
    const std::string where = host + ":" + std::to_string(port);
    try {
        tcp::resolver resolver(*impl_->loops.front());
        const auto found = resolver.resolve(bare, std::to_string(port), tcp::resolver::passive);
        if (found.empty())
            throw std::runtime_error("no address");
        const tcp::endpoint endpoint = *found.begin();
        impl_->acceptor.open(endpoint.protocol());
        impl_->acceptor.set_option(tcp::acceptor::reuse_address(true));
        impl_->acceptor.bind(endpoint);
        impl_->acceptor.listen(asio::socket_base::max_listen_connections);
        return impl_->acceptor.local_endpoint().port();
    } catch (const std::exception&) {
        ErrorCode ignored;
        impl_->acceptor.close(ignored);
        throw std::runtime_error("não foi possível escutar em " + where + ".");
    }
}

void Transport::run() {
    impl_->isRunning = true;
    impl_->accept();
    {
        std::vector<std::jthread> others;
        for (std::size_t i = 1; i < impl_->loops.size(); ++i)
            others.emplace_back([loop = impl_->loops[i].get()] { loop->run(); });
        impl_->loops.front()->run();
    }
    impl_->isRunning = false;
}

void Transport::stop() {
    for (const auto& loop : impl_->loops)
        loop->stop();
}

bool Transport::running() const {
    return impl_->isRunning;
}

long raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return -1;
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ::getrlimit(RLIMIT_NOFILE, &limit);
    return static_cast<long>(limit.rlim_cur);
}

} // namespace server::http
