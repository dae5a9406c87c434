#include "check/Model.h"

#include "analysis/Outcome.h"

#include "protocol/DateTime.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace check {

namespace {

struct VerdictWords {
    const char* name; // JSON
    const char* word; // for people
};

const VerdictWords& wordsOf(Verdict verdict) {
    // In the order of the enumeration.
    static const VerdictWords words[] = {
        {"clear", "livre"}, {"blocked", "bloqueado"}, {"error", "erro"}, {"skipped", "ignorado"}};
    return words[static_cast<int>(verdict)];
}

} // namespace

Json objectWithRoom(std::size_t members) {
    Json object = Json::object();
    object.get_ref<Json::object_t&>().reserve(members);
    return object;
}

const char* verdictName(Verdict verdict) {
    return wordsOf(verdict).name;
}

const char* verdictWord(Verdict verdict) {
    return wordsOf(verdict).word;
}

Month parseMonth(const std::string& text) {
    const auto day = text.size() == 7 && text[4] == '-' ? server::parseIsoDate(text + "-01") : std::nullopt;
    if (!day)
        throw std::invalid_argument("--month deve ser um mês no formato AAAA-MM, não '" + text + "'.");
    return Month{text, server::monthOf(*day)};
}

std::string rowIdentity(const std::string& method, const Json& row) {
    std::string identity = method;
    // Dish, product and nutrient codes name the restriction; a weekly row also its week.
    for (const char* field : {"CDPRATO", "CDPRODUTO", "CDNUTRIENTE", "NRSEMANA"})
        if (const auto found = row.find(field); found != row.end() && found->is_string())
            identity += std::string("|") + field + "=" + found->get<std::string>();
    return identity;
}

std::string rowLabel(const Json& row) {
    std::string label;
    for (const auto& [code, name] : {std::pair{"CDPRATO", "NMPRATO"}, std::pair{"CDPRODUTO", "NMPRODUTO"},
                                     std::pair{"CDNUTRIENTE", "NMNUTRIENTE"}}) {
        const auto codeAt = row.find(code);
        if (codeAt == row.end() || !codeAt->is_string())
            continue;
        const auto nameAt = row.find(name);
        label += (label.empty() ? "" : ", ") +
                 (nameAt != row.end() && nameAt->is_string() && !nameAt->get<std::string>().empty()
                      ? nameAt->get<std::string>() + " (" + codeAt->get<std::string>() + ")"
                      : codeAt->get<std::string>());
    }
    if (const auto week = row.find("NRSEMANA"); week != row.end() && week->is_string())
        label += (label.empty() ? "semana " : ", semana ") + week->get<std::string>();
    return label;
}

std::vector<server::Day> infringementDays(const Infringement& infringement) {
    std::set<server::Day> days;
    for (const Json& detail : infringement.days)
        if (const auto at = detail.find("DTCARDAPIO"); at != detail.end() && at->is_string())
            if (const auto parsed = proto::parseDateTime(at->get<std::string>()))
                days.insert(server::toDay(*parsed));
    return {days.begin(), days.end()};
}

std::optional<double> rowNumber(const Json& row, std::initializer_list<const char*> prefixes) {
    for (const auto& [name, value] : row.items())
        for (const char* prefix : prefixes)
            if (name.rfind(prefix, 0) == 0)
                return value.is_number() ? std::optional<double>(value.get<double>()) : std::nullopt;
    return std::nullopt;
}

const char* categoryCaption(const std::string& method) {
    for (const analysis::OutcomeCategory& category : analysis::kOutcomeOrder)
        if (method == category.summaryMethod)
            return category.caption;
    return "";
}

} // namespace check
