#pragma once

#include "protocol/Packet.h"
#include "server/rules/Arguments.h"
#include "server/rules/SessionState.h"
#include "server/store/MenuRepository.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace server {

struct CallResult {
    proto::Packet packet;
    std::map<int, proto::Value> out; // by-reference parameters, by index from 0
};

struct MethodContext {
    const std::string& method;
    const Arguments& args;
    MenuRepository& repo;
    SessionState& session;
};

// One method of the remote data module: its parameters, checked before it runs, and its rule.
struct MethodDef {
    std::string name;
    std::vector<ParamRule> params;
    std::optional<SpanSpec> span;
    std::function<CallResult(MethodContext&)> run;
};

// Parameters shared by most methods, named as the screen names the values it sends.
namespace param {
inline constexpr ParamRule kBranch{"CDFILIAL", ParamKind::Text, 4};
inline constexpr ParamRule kService{"CDSERVFILI", ParamKind::Text, 5};
inline constexpr ParamRule kFirstDay{"DTPRIMEIRA", ParamKind::Date};
inline constexpr ParamRule kLastDay{"DTULTIMA", ParamKind::Date};
inline constexpr ParamRule kMonth{"DTMESCARD", ParamKind::Date};
inline constexpr ParamRule kDish{"CDPRATO", ParamKind::Text, 10};
inline constexpr ParamRule kProduct{"CDPRODUTO", ParamKind::Text, 10};
inline constexpr ParamRule kNutrient{"CDNUTRIENTE", ParamKind::Text, 3};
inline constexpr ParamRule kWeek{"NRSEMANA", ParamKind::Week};
} // namespace param

// Branch, service, first and last day: the summaries' parameters.
std::vector<ParamRule> periodParams();
inline constexpr SpanSpec kPeriodSpan{2, 3};

void addServiceMethods(std::vector<MethodDef>& table);
void addDishMethods(std::vector<MethodDef>& table);
void addDishDetailMethods(std::vector<MethodDef>& table);
void addProductMethods(std::vector<MethodDef>& table);
void addNutrientMethods(std::vector<MethodDef>& table);

} // namespace server
