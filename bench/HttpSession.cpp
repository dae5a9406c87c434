#include "HttpSession.h"

#include "protocol/ForeignJson.h"
#include "protocol/Rpc.h"
#include "protocol/Wire.h"

#include <algorithm>
#include <vector>

namespace bench {

using nlohmann::json;

namespace {

std::string refusal(const std::string& what, const httplib::Result& res, bool secretSent) {
    if (!res)
        return what + ": sem resposta (" + httplib::to_string(res.error()) + ")";
    return refusalText(what, res->status, secretSent);
}

// A request the server did not answer: it is gone for every session, not only this one.
template <class Refused> void check(const std::string& what, const httplib::Result& res, bool secretSent) {
    if (!res)
        throw ServerUnreachable(refusal(what, res, secretSent));
    if (res->status != 200)
        throw Refused(refusal(what, res, secretSent));
}

} // namespace

std::vector<proto::Value> paramValues(const json& params) {
    std::vector<proto::Value> values;
    for (const json& param : params)
        values.push_back(param.is_string()           ? proto::Value(param.get<std::string>())
                         : param.is_number_integer() ? proto::Value(param.get<std::int64_t>())
                         : param.is_number()         ? proto::Value(param.get<double>())
                                                     : proto::Value());
    return values;
}

std::string refusalText(const std::string& what, int status, bool secretSent) {
    std::string text = what + ": HTTP " + std::to_string(status);
    if (status == 401)
        text += secretSent ? " (o servidor recusou o segredo de --secret-file)"
                           : " (o servidor exige um segredo: use --secret-file ARQUIVO)";
    return text;
}

proto::Packet answeredPacket(const std::string& method, const std::string& body, std::int64_t id) {
    proto::RpcResponse answer;
    try {
        answer = proto::decodeResponse(body, id);
    } catch (const std::exception& error) {
        throw CallFailure(method + ": resposta ilegível: " + error.what());
    }
    if (!answer.ok)
        throw CallFailure(method + ": " + answer.errorMessage);
    return std::move(answer.packet);
}

HttpSession::HttpSession(const std::string& host, int port, const ServerAccess& access)
    : client_(host, port), secretSent_(!access.secret.empty()) {
    client_.set_tcp_nodelay(true);
    client_.set_keep_alive(true);
    client_.set_connection_timeout(std::min(5, access.timeoutSeconds));
    client_.set_read_timeout(access.timeoutSeconds);
    client_.set_write_timeout(access.timeoutSeconds);
    if (secretSent_)
        headers_.emplace("Authorization", "Bearer " + access.secret);
    const auto res = client_.Post(proto::kSessionPath, headers_, R"({"server":"KDR60251.rdmAnalRestCont"})",
                                  "application/json");
    check<CallFailure>("POST /session", res, secretSent_);
    try {
        token_ = proto::parseForeignJson(res->body).at("session");
    } catch (const std::exception&) {
        throw CallFailure("POST /session: resposta sem o token da sessão");
    }
    headers_.emplace(proto::kSessionHeader, token_);
}

HttpSession::~HttpSession() {
    if (!token_.empty())
        client_.Delete(std::string(proto::kSessionPath) + "/" + token_, headers_);
}

json HttpSession::call(const std::string& method, const json& params) {
    return proto::packetToJson(callPacket(method, params));
}

proto::Packet HttpSession::callPacket(const std::string& method, const json& params) {
    const auto res =
        client_.Post(proto::kRpcPath, headers_, proto::encodeRequest(++id_, method, paramValues(params)),
                     "application/json");
    check<SessionLost>(method, res, secretSent_);
    return answeredPacket(method, res->body, id_);
}

void HttpSession::close() {
    const std::string token = std::exchange(token_, std::string());
    const auto res = client_.Delete(std::string(proto::kSessionPath) + "/" + token, headers_);
    check<CallFailure>("DELETE /session", res, secretSent_);
}

void HttpSession::abandon() {
    token_.clear();
    client_.stop();
}

} // namespace bench
