#include "server/rules/Arguments.h"

#include "protocol/Rpc.h"
#include "protocol/Utf8.h"
#include "server/CallError.h"

#include <cmath>

namespace server {
namespace {

std::string listOf(const std::vector<ParamRule>& rules) {
    std::string names;
    for (const auto& entry : rules) {
        if (!names.empty())
            names += ", ";
        names += entry.name;
    }
    return names;
}

bool isWeekText(const std::string& text) {
    if (text.empty() || text.size() > 2)
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

Arguments::Arguments(const std::string& method, const std::vector<ParamRule>& rules,
                     const std::optional<SpanSpec>& span, const nlohmann::json& params) {
    const auto refuse = [&](const std::string& what) {
        throw CallError(proto::kInvalidParams, "Método " + method + ": " + what);
    };
    if (!params.is_array() || params.size() != rules.size())
        refuse("são esperados " + std::to_string(rules.size()) + " parâmetros (" + listOf(rules) +
               "), foram recebidos " + std::to_string(params.is_array() ? params.size() : 0) + ".");

    const std::size_t count = rules.size();
    texts_.resize(count);
    days_.resize(count);
    limits_.resize(count);
    weeks_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const ParamRule& entry = rules[i];
        const nlohmann::json& value = params[i];
        const std::string label = "o parâmetro " + std::to_string(i + 1) + " (" + entry.name + ")";
        if (value.is_null()) {
            if (entry.kind == ParamKind::Limit)
                continue;
            refuse(label + " não pode ser nulo.");
        }
        switch (entry.kind) {
        case ParamKind::Text: {
            if (!value.is_string())
                refuse(label + " deve ser um texto.");
            const auto& text = value.get_ref<const std::string&>();
            if (!proto::isValidUtf8(text))
                refuse(label + " não é um texto UTF-8 válido.");
            if (proto::utf8Length(text) > static_cast<std::size_t>(entry.size))
                refuse(label + " excede " + std::to_string(entry.size) + " caracteres.");
            texts_[i] = text;
            break;
        }
        case ParamKind::Date: {
            const auto parsed =
                value.is_string() ? proto::parseDateTime(value.get_ref<const std::string&>()) : std::nullopt;
            if (!parsed)
                refuse(label + " deve ser uma data válida (AAAA-MM-DD ou AAAA-MM-DDTHH:MM:SS).");
            days_[i] = toDay(*parsed);
            break;
        }
        case ParamKind::Limit: {
            if (!value.is_number() || !std::isfinite(value.get<double>()))
                refuse(label + " deve ser um número finito ou nulo.");
            limits_[i] = value.get<double>();
            break;
        }
        case ParamKind::Week: {
            if (!value.is_string() || !isWeekText(value.get_ref<const std::string&>()))
                refuse(label + " deve ser o número da semana com um ou dois dígitos.");
            weeks_[i] = std::stoi(value.get_ref<const std::string&>());
            break;
        }
        }
    }
    if (span) {
        const DaySpan days{days_[span->first], days_[span->last]};
        const std::string first = rules[span->first].name;
        const std::string last = rules[span->last].name;
        if (days.first > days.last)
            refuse("o primeiro dia (" + first + ", " + isoDate(days.first) + ") é posterior ao último (" +
                   last + ", " + isoDate(days.last) + ").");
        if (days.length() > kMaxSpanDays)
            refuse("o período de " + first + " a " + last + " tem " + std::to_string(days.length()) +
                   " dias; o máximo é " + std::to_string(kMaxSpanDays) + ".");
    }
}

} // namespace server
