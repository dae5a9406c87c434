#include "FuzzCheck.h"

#include "DemoGenerator.h"
#include "protocol/ProtocolError.h"
#include "protocol/Rpc.h"
#include "server/CallError.h"
#include "server/RemoteDataModule.h"
#include "server/rules/SessionState.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

// The server's side of POST /rpc: each line of the input is one request body, all on one session,
// against the demo database. A request is answered with a packet the client accepts, or refused with
// a JSON-RPC error whose Portuguese message names the method; nothing else may come out of decoding,
// the parameter checks or a method, and a refused call leaves the session as it was.

namespace {

using nlohmann::json;

class DemoServer {
public:
    DemoServer() {
        std::string folder = (std::filesystem::temp_directory_path() / "restcont-fuzz-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        folder_ = folder;
        demo::generateDemoDatabase(folder_ / "demo.db");
        module_ = std::make_unique<server::RemoteDataModule>((folder_ / "demo.db").string());
    }
    ~DemoServer() {
        module_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    server::RemoteDataModule& module() { return *module_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<server::RemoteDataModule> module_;
};

server::RemoteDataModule& module() {
    static DemoServer demoServer;
    return demoServer.module();
}

bool sameSpan(const std::optional<server::DaySpan>& a, const std::optional<server::DaySpan>& b) {
    return a.has_value() == b.has_value() && (!a || (a->first == b->first && a->last == b->last));
}

bool sameSession(const server::SessionState& a, const server::SessionState& b) {
    return sameSpan(a.weekSpan, b.weekSpan) && a.month == b.month;
}

// The client only ever sends integer ids, so only those answers are read back as it reads them.
void checkClientReads(const std::string& answer, const json& id, const server::CallResult* result) {
    if (!id.is_number_integer())
        return;
    const std::int64_t callId = id.get<std::int64_t>();
    proto::RpcResponse response;
    try {
        response = proto::decodeResponse(answer, callId);
    } catch (const proto::ProtocolError& error) {
        FUZZ_CHECK(false, std::string(error.what()) + " em " + answer);
    }
    FUZZ_CHECK(response.ok == (result != nullptr), answer);
    if (result == nullptr) {
        FUZZ_CHECK(!response.errorMessage.empty(), answer);
        return;
    }
    FUZZ_CHECK(response.packet.fields == result->packet.fields, answer);
    FUZZ_CHECK(response.packet.rows == result->packet.rows, answer);
    FUZZ_CHECK(response.out.size() == result->out.size(), answer);
}

void checkRefusal(const server::CallError& error) {
    const std::string_view message = error.what();
    FUZZ_CHECK(message.starts_with("Método "), message);
    switch (error.code()) {
    case proto::kMethodNotFound:
    case proto::kInvalidParams:
        return;
    case proto::kServerError:
        // The one refusal that depends on the session; on the demo database a read never fails.
        FUZZ_CHECK(message.find("GetDataSemana antes") != std::string_view::npos, message);
        return;
    default:
        FUZZ_CHECK(false, std::to_string(error.code()) + " " + std::string(message));
    }
}

void answer(std::string_view body, server::SessionState& session) {
    proto::RpcRequest request;
    try {
        request = proto::decodeRequest(std::string(body));
    } catch (const proto::RpcRequestError& error) {
        FUZZ_CHECK(error.code() == proto::kParseError || error.code() == proto::kInvalidRequest ||
                       error.code() == proto::kInvalidParams,
                   error.what());
        checkClientReads(proto::encodeError(error.id(), error.code(), error.what()), error.id(), nullptr);
        return;
    }
    FUZZ_CHECK(request.params.is_array() && !request.method.empty(), std::string(body));
    const server::SessionState before = session;
    try {
        const server::CallResult result = module().call(request.method, request.params, session);
        checkClientReads(proto::encodeResult(request.id, result.packet, result.out), request.id, &result);
    } catch (const server::CallError& error) {
        checkRefusal(error);
        FUZZ_CHECK(sameSession(session, before), error.what());
        checkClientReads(proto::encodeError(request.id, error.code(), error.what()), request.id, nullptr);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    server::SessionState session;
    // JSON keeps line breaks out of its strings, so a line is always a whole request.
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        const std::string_view line = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (!line.empty())
            answer(line, session);
    }
    return 0;
}
