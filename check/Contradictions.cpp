#include "check/Findings.h"
#include "check/Texts.h"

#include "server/store/MenuRepository.h"

#include <algorithm>

namespace check {

namespace {

struct Context {
    const QLocale& locale;
    std::vector<Finding>& out;

    void inverted(const std::string& what, const server::Range& range) {
        if (range.min && range.max && *range.min > *range.max)
            out.push_back({"minimo_acima_do_maximo",
                           what + ": o mínimo, " + text::number(*range.min, locale) +
                               ", é maior que o máximo, " + text::number(*range.max, locale) + "."});
    }
};

std::string dishWhat(const server::Named& dish, bool option) {
    return std::string(option ? "Opção " : "Prato ") + text::named(dish.name, dish.code);
}

void frequencies(server::MenuRepository& repo, const Target& target, const Month& month, Context& context) {
    const int weeks = server::weekSpanAround(month.span).length() / 7;
    const std::vector<server::UsageRule> usage = repo.usageRules(target.branch, target.service);
    for (const bool option : {false, true}) {
        const std::vector<server::Named> forbidden =
            repo.restrictedDishes(target.branch, target.service, option);
        for (const server::FrequencyLimit& limit :
             repo.frequencyLimits(target.branch, target.service, option)) {
            const std::string what = dishWhat(limit.dish, option);
            context.inverted(what + ", frequência no mês", server::Range{limit.minMonth, limit.maxMonth});
            if (!limit.minMonth || *limit.minMonth <= 0)
                continue;
            const std::string minimum = text::number(*limit.minMonth, context.locale);
            if (limit.maxWeek && *limit.minMonth > *limit.maxWeek * weeks)
                context.out.push_back({"minimo_mensal_acima_do_semanal",
                                       what + ": o mínimo de " + minimum + " vezes no mês é maior que " +
                                           text::number(*limit.maxWeek, context.locale) + " por semana em " +
                                           std::to_string(weeks) + " semanas."});
            const auto same = [&](const server::Named& other) { return other.code == limit.dish.code; };
            if (std::any_of(forbidden.begin(), forbidden.end(), same))
                context.out.push_back({"minimo_de_prato_proibido",
                                       what + ": tem mínimo de " + minimum + " vezes no mês e é proibido."});
            const auto never = std::find_if(usage.begin(), usage.end(), [&](const server::UsageRule& rule) {
                return rule.dish.code == limit.dish.code &&
                       std::none_of(rule.allowed.begin(), rule.allowed.end(),
                                    [](bool allowed) { return allowed; });
            });
            if (never != usage.end())
                context.out.push_back({"minimo_sem_dia_permitido",
                                       what + ": tem mínimo de " + minimum +
                                           " vezes no mês e não é permitido em dia nenhum da semana."});
        }
    }
}

void quantities(server::MenuRepository& repo, const Target& target, Context& context) {
    const std::vector<server::RestrictedProduct> forbidden =
        repo.restrictedProducts(target.branch, target.service);
    const auto minimumOfForbidden = [&](const std::string& what, const server::Named& product,
                                        const server::Range& range) {
        context.inverted(what, range);
        const bool isForbidden =
            std::any_of(forbidden.begin(), forbidden.end(),
                        [&](const server::RestrictedProduct& r) { return r.product.code == product.code; });
        if (range.min && *range.min > 0 && isForbidden)
            context.out.push_back({"minimo_de_produto_proibido",
                                   what + ": tem mínimo per capita de " +
                                       text::number(*range.min, context.locale) + " e é proibido."});
    };
    for (const server::ProductLimit& limit : repo.serviceLimits(target.branch, target.service))
        minimumOfForbidden("Produto " + text::named(limit.product.name, limit.product.code) + " no serviço",
                           limit.product, limit.range);
    for (const server::DishProductLimit& limit : repo.dishLimits(target.branch, target.service))
        minimumOfForbidden("Produto " + text::named(limit.product.name, limit.product.code) + " em " +
                               text::named(limit.dish.name, limit.dish.code),
                           limit.product, limit.range);
    for (const server::NutrientLimit& limit : repo.nutrientLimits(target.branch, target.service))
        context.inverted("Nutriente " + text::named(limit.nutrient.name, limit.nutrient.code), limit.range);
}

} // namespace

std::vector<Finding> contradictions(server::Database& db, const Target& target, const Month& month,
                                    const QLocale& locale) {
    server::MenuRepository repo(db, nullptr);
    std::vector<Finding> out;
    Context context{locale, out};
    frequencies(repo, target, month, context);
    quantities(repo, target, context);
    return out;
}

} // namespace check
