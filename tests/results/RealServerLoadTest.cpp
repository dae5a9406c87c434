#include "GeneratedDemo.h"
#include "ServerProcess.h"

#include "analysis/ServerInterface.h"
#include "host/context/OperatorContext.h"
#include "host/core/ScopeGuard.h"
#include "module/Cli_kdr60251.h"
#include "protocol/DateTime.h"
#include "results/RestrictionCategories.h"
#include "results/TResultRecords.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

using analysis::CallServerMethod;
using results::RestrictionCategory;
using namespace Qt::StringLiterals;

namespace results {
// Names the category in failure messages instead of dumping its bytes.
void PrintTo(const RestrictionCategory& category, std::ostream* out) {
    *out << category.summarySet;
}
} // namespace results

namespace {

// The demo's branch 0001, service 002 infringes every category in March 2026, so every summary set
// gets rows and every detail call has a real row to start from.
const QString kBranch = u"0001"_s;
const QString kService = u"002"_s;

proto::DateTime day(int y, int m, int d) {
    return proto::fromCivil({y, m, d});
}

class RealServerLoadTest : public ::testing::TestWithParam<RestrictionCategory> {
protected:
    static void SetUpTestSuite() { server = std::make_unique<ServerProcess>(generatedDemo().string()); }
    static void TearDownTestSuite() { server.reset(); }

    RealServerLoadTest() {
        host::OperatorContext::instance().clear();
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = QString::fromStdString(server->host());
        net.Port = server->port();
        net.TimeoutMs = 10000;
        net.Connect();
    }
    ~RealServerLoadTest() override {
        net.Disconnect();
        host::OperatorContext::instance().clear();
    }

    // The week span also sets the session's span the weekly dish detail reads.
    void loadWeekSpan() {
        CallServerMethod(net, u"GetDataSemana"_s, {day(2026, 3, 1), day(2026, 3, 31)}, records.cdsDataSemana);
    }

    static std::unique_ptr<ServerProcess> server;
    host::TNetConnection net;
    TResultRecords records;
};

std::unique_ptr<ServerProcess> RealServerLoadTest::server;

TEST_P(RealServerLoadTest, TheSummaryAndItsRowsDetailsLoadIntoTheirSets) {
    const RestrictionCategory& category = GetParam();
    loadWeekSpan();
    ASSERT_EQ(records.cdsDataSemana.RecordCount(), 1);

    std::vector<host::CallArg> span{kBranch, kService};
    if (category.span == results::Span::Week) {
        span.emplace_back(analysis::dateArg(records.cdsDataSemana.FieldByName(u"DTPRIMEIRA"_s).AsDateTime()));
        span.emplace_back(analysis::dateArg(records.cdsDataSemana.FieldByName(u"DTULTIMA"_s).AsDateTime()));
    } else {
        span.emplace_back(day(2026, 3, 1));
        span.emplace_back(day(2026, 3, 31));
    }
    host::TClientDataSet& summary = *records.FindRecordSet(QLatin1StringView(category.summarySet));
    host::TClientDataSet& detail = *records.FindRecordSet(QLatin1StringView(category.detailSet));
    // A field the server names or types differently from the form refuses the whole packet.
    CallServerMethod(net, QLatin1StringView(category.summaryMethod), span, summary);
    ASSERT_FALSE(summary.IsEmpty()) << "the demo service infringes every category";
    EXPECT_EQ(summary.RecNo(), 1);
    EXPECT_EQ(summary.FieldByName(u"CDSERVFILI"_s).AsString(), kService);

    // A row may count a dish the month never serves (a monthly minimum not reached): its detail is
    // rightly empty, so walk the rows until one has menu days behind it.
    const double savedLaunchMonth = dtMesCard;
    const host::ScopeGuard restoreLaunchMonth([savedLaunchMonth] { dtMesCard = savedLaunchMonth; });
    dtMesCard = 0;
    bool someDetail = false;
    for (summary.First(); !summary.Eof() && !someDetail; summary.Next()) {
        CallServerMethod(net, QLatin1StringView(category.detailMethod),
                         results::detailCallArgs(category, summary), detail);
        someDetail = !detail.IsEmpty();
    }
    EXPECT_TRUE(someDetail) << "no summary row has menu days behind it";
    for (const analysis::ArgRule& arg : results::detailArgs(category)) {
        if (arg.kind == analysis::ArgKind::DateByRef) {
            EXPECT_EQ(dtMesCard, day(2026, 3, 1).days);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, RealServerLoadTest,
                         ::testing::ValuesIn(results::restrictionCategories()),
                         [](const auto& row) { return std::string(row.param.summarySet); });

TEST_F(RealServerLoadTest, TheServiceListAndTheWeekSpanLoadIntoTheFormsSets) {
    CallServerMethod(net, u"GetServico"_s, {kBranch, u"N"_s}, records.cdsServico);
    ASSERT_FALSE(records.cdsServico.IsEmpty());
    EXPECT_TRUE(records.cdsServico.Locate(u"CDSERVFILI"_s, kService));
    EXPECT_EQ(records.cdsServico.FieldByName(u"CDFILIAL"_s).AsString(), kBranch);
    EXPECT_EQ(records.cdsServico.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);

    loadWeekSpan();
    ASSERT_EQ(records.cdsDataSemana.RecordCount(), 1);
    // March 2026 begins on a Sunday and ends on a Tuesday: whole weeks from Monday to Sunday.
    EXPECT_EQ(records.cdsDataSemana.FieldByName(u"DTPRIMEIRA"_s).AsDateTime(), day(2026, 2, 23).days);
    EXPECT_EQ(records.cdsDataSemana.FieldByName(u"DTULTIMA"_s).AsDateTime(), day(2026, 4, 5).days);
}

} // namespace
