#include "protocol/Rpc.h"
#include "server/CallError.h"
#include "server/rules/Matching.h"
#include "server/rules/MethodTable.h"
#include "server/rules/Records.h"

namespace server {
namespace {

using enum Col;

// Where a detail's days come from: week NRSEMANA of the session's week span, or the calendar month
// of DTMESCARD.
enum class Period { SessionWeek, MonthOfDate };

// The seven details that list the items matching a dish; they differ only in the items they keep,
// the period, the parameter order and the fields.
struct DishDetail {
    const char* name;
    ItemKind kind;
    Period period;
    std::vector<ParamRule> params;
    std::size_t dishArg;
    std::size_t periodArg;
    Layout layout;
    // GetFreqPratSemDet hands the session's month back through this by-reference parameter.
    std::optional<int> monthOut;
};

const std::vector<DishDetail>& dishDetails() {
    using namespace param;
    const Layout items{DTCARDAPIO, NMTIPOPRAT, CDPRATO, NMPRATO};
    const std::vector<ParamRule> monthly{kBranch, kService, kMonth, kDish};
    static const std::vector<DishDetail> kTable{
        {"GetFreqPratSemDet", ItemKind::NonOption, Period::SessionWeek,
         std::vector<ParamRule>{kBranch, kService, kWeek, kDish, kMonth}, 3, 2, items, 4},
        {"GetFreqOpcaSemDet", ItemKind::Option, Period::SessionWeek,
         std::vector<ParamRule>{kBranch, kService, kWeek, kDish}, 3, 2, items, std::nullopt},
        {"GetFreqPratMesDet", ItemKind::NonOption, Period::MonthOfDate, monthly, 3, 2, items, std::nullopt},
        {"GetFreqOpcaMesDet", ItemKind::Option, Period::MonthOfDate, monthly, 3, 2, items, std::nullopt},
        {"GetRestPratMesDet", ItemKind::NonOption, Period::MonthOfDate, monthly, 3, 2, items, std::nullopt},
        {"GetRestOpcaMesDet", ItemKind::Option, Period::MonthOfDate, monthly, 3, 2, items, std::nullopt},
        {"GetUtilPratSemDet", ItemKind::Any, Period::SessionWeek,
         std::vector<ParamRule>{kBranch, kService, kDish, kWeek}, 2, 3,
         Layout{DTCARDAPIO, NMTIPOPRAT, IDOPCCNFMES, CDPRATO, NMPRATO}, std::nullopt},
    };
    return kTable;
}

CallResult runDishDetail(const DishDetail& detail, MethodContext& c) {
    CallResult result;
    result.packet.fields = fieldsOf(detail.layout);
    if (detail.monthOut && c.session.month)
        result.out[*detail.monthOut] = toDateTime(monthOf(*c.session.month).first);

    std::optional<DaySpan> days;
    if (detail.period == Period::SessionWeek) {
        if (!c.session.weekSpan)
            throw CallError(proto::kServerError,
                            "Método " + c.method +
                                ": a sessão ainda não tem período semanal; chame GetDataSemana antes.");
        days = weekOf(*c.session.weekSpan, c.args.week(detail.periodArg));
    } else {
        days = monthOf(c.args.day(detail.periodArg));
    }
    // A week outside the session's span has no items.
    if (!days)
        return result;

    const std::string& dish = c.args.text(detail.dishArg);
    const auto held = c.repo.items(c.args.text(0), c.args.text(1), *days, false);
    const std::vector<MenuItem>& items = *held;
    std::vector<DetailRow> rows;
    for (const MenuItem& item : items)
        if (accepts(detail.kind, item) && dishMatches(item, dish))
            rows.push_back({&item, nullptr, item.day, std::nullopt});
    result.packet = detailPacket(detail.layout, rows);
    return result;
}

} // namespace

void addDishDetailMethods(std::vector<MethodDef>& table) {
    for (const DishDetail& detail : dishDetails())
        table.push_back({detail.name, detail.params, std::nullopt,
                         [&detail](MethodContext& c) { return runDishDetail(detail, c); }});
}

} // namespace server
