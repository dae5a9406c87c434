#include "protocol/Rpc.h"
#include "server/CallError.h"
#include "server/rules/MethodTable.h"
#include "server/rules/Records.h"

namespace server {

std::vector<ParamRule> periodParams() {
    return {param::kBranch, param::kService, param::kFirstDay, param::kLastDay};
}

void addServiceMethods(std::vector<MethodDef>& table) {
    table.push_back({"GetServico",
                     {param::kBranch, {"IDMARCADO", ParamKind::Text, 1}},
                     std::nullopt,
                     [](MethodContext& c) {
                         const std::string& mark = c.args.text(1);
                         const auto services = c.repo.services(c.args.text(0));
                         const Layout layout{Col::CDSERVFILI, Col::NMSERVICO, Col::CDFILIAL, Col::IDMARCADO};
                         return CallResult{makePacket(layout, services,
                                                      [&](const Service& s, Col column) -> proto::Value {
                                                          switch (column) {
                                                          case Col::CDSERVFILI:
                                                              return s.code;
                                                          case Col::NMSERVICO:
                                                              return s.name;
                                                          case Col::CDFILIAL:
                                                              return s.branch;
                                                          default:
                                                              return mark;
                                                          }
                                                      }),
                                           {}};
                     }});

    table.push_back(
        {"GetDataSemana", {param::kFirstDay, param::kLastDay}, SpanSpec{0, 1}, [](MethodContext& c) {
             const DaySpan weeks = weekSpanAround(c.args.span(0, 1));
             // The Sunday after 9999-12-31 has no four-digit year to travel in. (0001-01-01 is a
             // Monday: the span never starts before the calendar.)
             if (!withinCalendar(weeks.last))
                 throw CallError(proto::kInvalidParams,
                                 "Método " + c.method + ": a semana do parâmetro 2 (" + param::kLastDay.name +
                                     ", " + isoDate(c.args.day(1)) + ") termina depois de " +
                                     isoDate(lastCalendarDay()) + ", o último dia aceito.");
             c.session.weekSpan = weeks;
             c.session.month = c.args.day(0);
             const std::vector<DaySpan> rows{weeks};
             return CallResult{makePacket(Layout{Col::DTPRIMEIRA, Col::DTULTIMA}, rows,
                                          [](const DaySpan& s, Col column) -> proto::Value {
                                              return toDateTime(column == Col::DTPRIMEIRA ? s.first : s.last);
                                          }),
                               {}};
         }});
}

} // namespace server
