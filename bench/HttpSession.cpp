#include "HttpSession.h"

#include "protocol/ForeignJson.h"
#include "protocol/Rpc.h"
#include "protocol/Wire.h"

#include <vector>

namespace bench {

using nlohmann::json;

namespace {

std::string refusal(const std::string& what, const httplib::Result& res) {
    if (!res)
        return what + ": sem resposta (" + httplib::to_string(res.error()) + ")";
    return what + ": HTTP " + std::to_string(res->status);
}

// A request the server did not answer: it is gone for every session, not only this one.
template <class Refused> void check(const std::string& what, const httplib::Result& res) {
    if (!res)
        throw ServerUnreachable(refusal(what, res));
    if (res->status != 200)
        throw Refused(refusal(what, res));
}

} // namespace

HttpSession::HttpSession(const std::string& host, int port, const std::optional<std::string>& secret)
    : client_(host, port) {
    if (secret)
        secretHeaders_ = {{"Authorization", "Bearer " + *secret}};
    client_.set_tcp_nodelay(true);
    client_.set_keep_alive(true);
    client_.set_connection_timeout(5);
    client_.set_read_timeout(30);
    const auto res = client_.Post(proto::kSessionPath, secretHeaders_,
                                  R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
    check<CallFailure>("POST /session", res);
    try {
        token_ = proto::parseForeignJson(res->body).at("session");
    } catch (const std::exception&) {
        throw CallFailure("POST /session: resposta sem o token da sessão");
    }
    headers_ = secretHeaders_;
    headers_.emplace(proto::kSessionHeader, token_);
}

HttpSession::~HttpSession() {
    if (!token_.empty())
        client_.Delete(std::string(proto::kSessionPath) + "/" + token_, secretHeaders_);
}

json HttpSession::call(const std::string& method, const json& params) {
    std::vector<proto::Value> values;
    for (const json& param : params)
        values.push_back(param.is_string()           ? proto::Value(param.get<std::string>())
                         : param.is_number_integer() ? proto::Value(param.get<std::int64_t>())
                         : param.is_number()         ? proto::Value(param.get<double>())
                                                     : proto::Value());
    const auto res = client_.Post(proto::kRpcPath, headers_, proto::encodeRequest(++id_, method, values),
                                  "application/json");
    check<SessionLost>(method, res);
    proto::RpcResponse answer;
    try {
        answer = proto::decodeResponse(res->body, id_);
    } catch (const std::exception& error) {
        throw CallFailure(method + ": resposta ilegível: " + error.what());
    }
    if (!answer.ok)
        throw CallFailure(method + ": " + answer.errorMessage);
    return proto::packetToJson(answer.packet);
}

void HttpSession::close() {
    const std::string token = std::exchange(token_, std::string());
    const auto res = client_.Delete(std::string(proto::kSessionPath) + "/" + token, secretHeaders_);
    check<CallFailure>("DELETE /session", res);
}

void HttpSession::abandon() {
    token_.clear();
    client_.stop();
}

} // namespace bench
