#include "protocol/Rpc.h"

#include "protocol/ForeignJson.h"
#include "protocol/JsonWriter.h"
#include "protocol/PacketWriter.h"
#include "protocol/ProtocolError.h"
#include "protocol/ResponseReader.h"

#include <algorithm>
#include <climits>

namespace proto {

using nlohmann::json;

// Requests and answers are written straight into their text, keys in the order the document writer
// sorts them, so the bytes on the wire are the ones a json dump would give.

std::string encodeRequest(std::int64_t id, const std::string& method, const std::vector<Value>& params) {
    std::string text = "{\"id\":";
    json_text::appendInteger(text, id);
    text += ",\"jsonrpc\":\"2.0\",\"method\":";
    json_text::appendString(text, method);
    text += ",\"params\":[";
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (i > 0)
            text += ',';
        appendValueJson(text, params[i]);
    }
    text += "]}";
    return text;
}

RpcResponse decodeResponse(const std::string& body, std::int64_t expectedId) {
    if (auto direct = readResultDirect(body, expectedId))
        return std::move(*direct);
    return decodeResponseDocument(body, expectedId);
}

RpcResponse decodeResponseDocument(const std::string& body, std::int64_t expectedId) {
    json doc;
    try {
        doc = parseForeignJson(body);
    } catch (const JsonTooDeep&) {
        throw ProtocolError("Resposta do servidor recusada: aninhamento acima de " +
                            std::to_string(kMaxJsonDepth) + " níveis.");
    }
    if (doc.is_discarded())
        throw ProtocolError("Resposta do servidor ilegível: não é um documento JSON completo.");
    if (!doc.is_object())
        throw ProtocolError("Resposta do servidor inválida: não é um objeto.");
    if (doc.value("jsonrpc", json()) != "2.0")
        throw ProtocolError("Resposta do servidor inválida: não é uma resposta JSON-RPC 2.0.");
    const auto id = doc.find("id");
    RpcResponse response;
    if (const auto error = doc.find("error"); error != doc.end()) {
        if (!error->is_object() || !error->contains("message") || !(*error)["message"].is_string())
            throw ProtocolError("Resposta do servidor inválida: erro sem mensagem.");
        // The message is what the user reads; a code that is text or past int is read as none
        // instead of escaping as the document's own error or overflowing.
        const json code = error->value("code", json(0));
        const bool fits = code.is_number_unsigned()
                              ? code.get<std::uint64_t>() <= static_cast<std::uint64_t>(INT_MAX)
                              : code.is_number_integer() && code.get<std::int64_t>() >= INT_MIN &&
                                    code.get<std::int64_t>() <= INT_MAX;
        response.errorCode = fits ? static_cast<int>(code.get<std::int64_t>()) : 0;
        response.errorMessage = (*error)["message"].get<std::string>();
        return response;
    }
    if (id == doc.end() || !id->is_number_integer() || id->get<std::int64_t>() != expectedId)
        throw ProtocolError("Resposta do servidor inválida: não corresponde à chamada feita.");
    const auto result = doc.find("result");
    if (result == doc.end() || !result->is_object() || !result->contains("packet"))
        throw ProtocolError("Resposta do servidor inválida: falta o pacote de dados.");
    response.packet = packetFromJson((*result)["packet"]);
    if (const auto out = result->find("out"); out != result->end() && !out->is_null()) {
        if (!out->is_object())
            throw ProtocolError("Resposta do servidor inválida: parâmetros de retorno mal formados.");
        for (const auto& [key, value] : out->items()) {
            std::size_t used = 0;
            int index = -1;
            try {
                index = std::stoi(key, &used);
            } catch (const std::exception&) {
            }
            if (index < 0 || used != key.size())
                throw ProtocolError("Resposta do servidor inválida: parâmetro de retorno '" + key + "'.");
            response.out[index] = value;
        }
    }
    response.ok = true;
    return response;
}

RpcRequest decodeRequest(const std::string& body) {
    json doc;
    try {
        doc = parseForeignJson(body);
    } catch (const JsonTooDeep& error) {
        // Nothing of the text is read, the id included: it could be the deep part.
        throw RpcRequestError(kInvalidRequest, error.what());
    }
    if (doc.is_discarded())
        throw RpcRequestError(kParseError, "Requisição ilegível: não é um documento JSON válido.");
    if (!doc.is_object())
        throw RpcRequestError(kInvalidRequest, "Requisição inválida: não é um objeto JSON-RPC.");
    json id = doc.value("id", json());
    if (!id.is_null() && !id.is_number_integer() && !id.is_string())
        throw RpcRequestError(kInvalidRequest, "Requisição inválida: identificador mal formado.");
    if (doc.value("jsonrpc", json()) != "2.0")
        throw RpcRequestError(kInvalidRequest, "Requisição inválida: versão JSON-RPC deve ser \"2.0\".", id);
    const auto method = doc.find("method");
    if (method == doc.end() || !method->is_string() || method->get_ref<const std::string&>().empty())
        throw RpcRequestError(kInvalidRequest, "Requisição inválida: falta o nome do método.", id);
    RpcRequest request;
    request.id = id;
    request.method = method->get<std::string>();
    if (const auto params = doc.find("params"); params != doc.end()) {
        if (!params->is_array())
            throw RpcRequestError(
                kInvalidParams,
                "Método " + request.method + ": os parâmetros devem ser uma lista posicional.", id);
        request.params = *params;
    }
    return request;
}

std::string encodeResult(const json& id, const Packet& packet, const std::map<int, Value>& out) {
    std::size_t cells = 0;
    for (const auto& row : packet.rows)
        cells += row.size();
    std::string text;
    text.reserve(128 + 32 * packet.fields.size() + 12 * cells);
    text += "{\"id\":";
    text += id.dump(-1, ' ', false, json::error_handler_t::replace);
    text += ",\"jsonrpc\":\"2.0\",\"result\":{";
    if (!out.empty()) {
        // Keyed by the index as text, so "10" comes before "4".
        std::vector<std::pair<std::string, const Value*>> keyed;
        for (const auto& [index, value] : out)
            keyed.emplace_back(std::to_string(index), &value);
        std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        text += "\"out\":{";
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            if (i > 0)
                text += ',';
            json_text::appendString(text, keyed[i].first);
            text += ':';
            appendValueJson(text, *keyed[i].second);
        }
        text += "},";
    }
    text += "\"packet\":";
    appendPacketJson(text, packet);
    text += "}}";
    return text;
}

std::string encodeError(const json& id, int code, const std::string& message) {
    return json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}.dump(
        -1, ' ', false, json::error_handler_t::replace);
}

} // namespace proto
