#include "check/Baseline.h"

#include "protocol/ForeignJson.h"

#include <fstream>
#include <stdexcept>

namespace check {

using nlohmann::json;

namespace {

std::string serviceKey(const std::string& branch, const std::string& service) {
    return branch + "/" + service;
}

std::string identity(const std::string& branch, const std::string& service, const std::string& method,
                     const Json& row) {
    return serviceKey(branch, service) + "|" + rowIdentity(method, row);
}

[[noreturn]] void refuse(const std::string& why) {
    throw std::invalid_argument("--baseline: " + why);
}

const json& member(const json& object, const char* name, json::value_t type) {
    const auto found = object.find(name);
    if (found == object.end() || found->type() != type)
        refuse(std::string("o arquivo não é uma saída JSON desta verificação (falta '") + name + "').");
    return *found;
}

} // namespace

Baseline Baseline::load(const std::string& path, const std::string& month) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        refuse("não foi possível ler '" + path + "'.");
    std::string text;
    char buffer[64 * 1024];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMaxBaselineBytes)
            refuse("'" + path + "' passa de " + std::to_string(kMaxBaselineBytes / (1024 * 1024)) + " MiB.");
    }
    json parsed;
    try {
        parsed = proto::parseForeignJson(text);
    } catch (const proto::JsonTooDeep&) {
        refuse("'" + path + "' tem aninhamento profundo demais.");
    }
    if (parsed.is_discarded())
        refuse("'" + path + "' não é JSON válido.");
    return fromJson(parsed, month);
}

Baseline Baseline::fromJson(const json& output, const std::string& month) {
    if (!output.is_object())
        refuse("o arquivo não é uma saída JSON desta verificação.");
    const std::string earlierMonth = member(output, "month", json::value_t::string).get<std::string>();
    if (earlierMonth != month)
        refuse("a comparação é do mês " + earlierMonth + ", não de " + month + "; compare só o mesmo mês.");
    Baseline baseline;
    for (const json& service : member(output, "services", json::value_t::array)) {
        if (!service.is_object())
            refuse("um serviço do arquivo não é um objeto.");
        const std::string branch = member(service, "branch", json::value_t::string).get<std::string>();
        const std::string code = member(service, "service", json::value_t::string).get<std::string>();
        const auto categories = service.find("categories");
        if (categories == service.end())
            continue;
        if (!categories->is_object())
            refuse("'categories' de um serviço do arquivo não é um objeto.");
        for (const auto& [method, rows] : categories->items()) {
            if (!rows.is_array())
                refuse("a categoria " + method + " do arquivo não é uma lista.");
            for (const json& entry : rows) {
                if (!entry.is_object())
                    refuse("uma infração da categoria " + method + " do arquivo não é um objeto.");
                // Small and bounded in depth by the door: read again to keep its fields' order.
                Json row = Json::parse(member(entry, "row", json::value_t::object).dump());
                std::string key = identity(branch, code, method, row);
                baseline.earlier_.emplace(std::move(key), Entry{branch, code, method, std::move(row)});
            }
        }
    }
    return baseline;
}

void Baseline::mark(ServiceResult& result) {
    if (result.verdict != Verdict::Clear && result.verdict != Verdict::Blocked)
        return;
    judgedServices_.insert(serviceKey(result.branch, result.service));
    for (CategoryResult& category : result.categories)
        for (Infringement& infringement : category.rows) {
            const std::string key =
                identity(result.branch, result.service, category.method, infringement.row);
            seen_.insert(key);
            const bool before = earlier_.count(key) != 0;
            infringement.change = before ? "still" : "new";
            ++(before ? still_ : new_);
        }
}

Json Baseline::compare() const {
    Json fixedRows = Json::array();
    for (const auto& [key, entry] : earlier_)
        if (!seen_.count(key) && judgedServices_.count(serviceKey(entry.branch, entry.service)))
            fixedRows.push_back({{"branch", entry.branch},
                                 {"service", entry.service},
                                 {"category", entry.category},
                                 {"row", entry.row}});
    return {{"new", new_}, {"still", still_}, {"fixed", fixedRows.size()}, {"fixed_rows", fixedRows}};
}

} // namespace check
