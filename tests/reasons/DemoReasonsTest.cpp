#include "AnalysisWalk.h"
#include "GeneratedDemo.h"

#include "host/format/Formatting.h"
#include "protocol/DateTime.h"
#include "reasons/Reasons.h"
#include "server/RemoteDataModule.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

#include <clocale>
#include <cmath>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;
using nlohmann::json;

namespace bench {
// Names the category in failure messages instead of dumping its bytes.
void PrintTo(const Step& step, std::ostream* out) {
    *out << step.summary;
}
} // namespace bench

namespace {

// The demo's branch 0001, service 002 infringes every category in March 2026.
const char* const kBranch = "0001";
const char* const kService = "002";
const char* const kFirst = "2026-03-01";
const char* const kLast = "2026-03-31";

const QLocale& brazil() {
    static const QLocale locale(u"pt_BR"_s);
    return locale;
}

QString textOf(const proto::Packet& packet, std::size_t row, const char* field) {
    const int index = packet.fieldIndex(field);
    if (index < 0)
        return {};
    const auto* text = std::get_if<std::string>(&packet.rows[row][static_cast<std::size_t>(index)]);
    return text ? QString::fromStdString(*text).trimmed() : QString();
}

std::optional<double> numberOf(const proto::Packet& packet, std::size_t row, const char* field) {
    const int index = packet.fieldIndex(field);
    if (index < 0)
        return std::nullopt;
    const proto::Value& value = packet.rows[row][static_cast<std::size_t>(index)];
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* t = std::get_if<proto::DateTime>(&value))
        return t->days;
    return std::nullopt;
}

// The shown days of a " (dias 02, 05, ...)" ending, and whether it said there were more.
std::pair<QStringList, bool> listedDays(const QString& suffix) {
    static const QRegularExpression pattern(u"^ \\(dias? ([0-9, ./]+)\\)$"_s);
    const auto match = pattern.match(suffix);
    if (!match.hasMatch())
        return {};
    QStringList days = match.captured(1).split(u", "_s);
    const bool more = days.last() == u"..."_s;
    if (more)
        days.removeLast();
    // A week reaching into another month shows "dd/mm": the day of the month is what is compared.
    for (QString& day : days)
        day.truncate(2);
    return {days, more};
}

class DemoReasonsTest : public ::testing::TestWithParam<bench::Step> {
protected:
    static void SetUpTestSuite() {
        module = std::make_unique<server::RemoteDataModule>(generatedDemo().string());
    }
    static void TearDownTestSuite() { module.reset(); }

    proto::Packet call(const std::string& method, const json& params) {
        return module->call(method, params, session).packet;
    }

    proto::Packet summary(const bench::Step& step) {
        const proto::Packet weeks = call("GetDataSemana", {kFirst, kLast});
        if (!step.weekly)
            return call(step.summary, {kBranch, kService, kFirst, kLast});
        return call(step.summary, {kBranch, kService, proto::valueToJson(weeks.rows.at(0).at(0)),
                                   proto::valueToJson(weeks.rows.at(0).at(1))});
    }

    // The detail as the screen asks for it, with its arguments read from the summary row.
    proto::Packet detail(const bench::Step& step, const proto::Packet& rows, std::size_t row) {
        json params = json::array();
        for (const std::string arg : step.detailArgs)
            params.push_back(arg == "#month" ? json(kFirst)
                                             : proto::valueToJson(rows.rows[row].at(
                                                   static_cast<std::size_t>(rows.fieldIndex(arg)))));
        return call(step.detail, params);
    }

    static std::unique_ptr<server::RemoteDataModule> module;
    server::SessionState session;
};

std::unique_ptr<server::RemoteDataModule> DemoReasonsTest::module;

const char* nameField(const bench::Step& step) {
    const std::string method = step.summary;
    if (method == "GetLimNutri")
        return "NMNUTRIENTE";
    return method == "GetLimPeSer" || method == "GetRestProd" || method == "GetLimPePra" ? "NMPRODUTO"
                                                                                         : "NMPRATO";
}

// Every row of every category, composed from the real answer: the row's name first, every value
// present (nothing unknown), the count and bounds by the host's Brazilian settings also when the
// machine runs in the C locale, and the days form the row's sentence followed by the detail's days.
TEST_P(DemoReasonsTest, EveryRowOfTheDemoReadsWhole) {
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    const bench::Step& step = GetParam();
    const proto::Packet rows = summary(step);
    ASSERT_FALSE(rows.rows.empty()) << step.summary;
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const proto::Packet days = detail(step, rows, row);
        const QString reason = reasons::rowReason(step.summary, rows, row, brazil());
        const QString withDays = reasons::rowReasonWithDays(step.summary, rows, row, days, brazil());
        SCOPED_TRACE(withDays.toStdString());
        EXPECT_TRUE(reason.startsWith(textOf(rows, row, nameField(step))));
        EXPECT_FALSE(withDays.contains(u'?'));
        ASSERT_TRUE(withDays.startsWith(reason));
        const auto count = numberOf(rows, row, step.count);
        ASSERT_TRUE(count.has_value());
        if (*count > 0) {
            EXPECT_TRUE(reason.contains(u' ' + host::FormatFloat(u"#,##0"_s, *count, brazil()) + u' '));
        }
        for (const char* bound :
             {"QTMINLIMNUTR", "QTMAXLIMNUTR", "QTMINLIMSERV", "QTMAXLIMSERV", "QTMINLIMPRAT", "QTMAXLIMPRAT",
              "NRMINIFREPRA", "NRMAXMESFPRA", "NRMAXIFREPRA"})
            if (const auto value = numberOf(rows, row, bound)) {
                EXPECT_TRUE(reason.contains(host::FormatFloat(u"#,##0.#####"_s, *value, brazil()))) << bound;
            }
        if (days.rows.empty())
            EXPECT_EQ(withDays, reason);
        else
            EXPECT_GT(withDays.size(), reason.size());
    }
}

// The menu days listed under a counting row are the detail's days, each once, in order, at most eight.
class DemoDayListTest : public DemoReasonsTest {};

TEST_P(DemoDayListTest, TheListedDaysAreTheDetailsDays) {
    const bench::Step& step = GetParam();
    const proto::Packet rows = summary(step);
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const proto::Packet days = detail(step, rows, row);
        QStringList expected;
        std::set<double> seen;
        for (std::size_t d = 0; d < days.rows.size(); ++d) {
            const double day = std::floor(*numberOf(days, d, "DTCARDAPIO"));
            if (seen.insert(day).second)
                expected << QString::number(proto::toCivil(proto::DateTime{day}).day).rightJustified(2, u'0');
        }
        const QString reason = reasons::rowReason(step.summary, rows, row, brazil());
        const QString withDays = reasons::rowReasonWithDays(step.summary, rows, row, days, brazil());
        const auto [shown, more] = listedDays(withDays.mid(reason.size()));
        EXPECT_EQ(more, expected.size() > 8) << withDays.toStdString();
        EXPECT_EQ(shown, expected.mid(0, 8)) << withDays.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoReasonsTest, ::testing::ValuesIn(bench::analysisSteps()),
                         [](const auto& param) { return std::string(param.param.summary); });

// The categories that count menu items rather than quantities.
std::vector<bench::Step> countingSteps() {
    std::vector<bench::Step> steps;
    for (const bench::Step& step : bench::analysisSteps())
        if (std::string(step.summary).rfind("GetLim", 0) != 0)
            steps.push_back(step);
    return steps;
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoDayListTest, ::testing::ValuesIn(countingSteps()),
                         [](const auto& param) { return std::string(param.param.summary); });

// What the weekly dish-use row cannot say, the contract's weekdays in the database do: given them, the
// sentence names the refused weekdays and lists only the days served on them.
TEST(DemoWeeklyUse, TheContractsWeekdaysNameTheRefusedDays) {
    server::RemoteDataModule module(generatedDemo().string());
    server::SessionState session;
    const proto::Packet weeks = module.call("GetDataSemana", {kFirst, kLast}, session).packet;
    const proto::Packet rows = module
                                   .call("GetUtilPratSem",
                                         {kBranch, kService, proto::valueToJson(weeks.rows.at(0).at(0)),
                                          proto::valueToJson(weeks.rows.at(0).at(1))},
                                         session)
                                   .packet;
    ASSERT_FALSE(rows.rows.empty());
    const ReadOnlyDb db(generatedDemo());
    for (std::size_t row = 0; row < rows.rows.size(); ++row) {
        const std::string dish = textOf(rows, row, "CDPRATO").toStdString();
        reasons::ReasonOptions options;
        std::array<bool, 7> allowed{};
        const char* const columns[] = {"IDUTPRATSEG", "IDUTPRATTER", "IDUTPRATQUA", "IDUTPRATQUI",
                                       "IDUTPRATSEX", "IDUTPRATSAB", "IDUTPRATDOM"};
        for (std::size_t d = 0; d < allowed.size(); ++d)
            allowed[d] = db.scalar(std::string("SELECT count(*) FROM CTRUTILPRAT WHERE CDFILIAL = :f AND "
                                               "CDSERVFILI = :s AND CDPRATO = :p AND ") +
                                       columns[d] + " = 'S'",
                                   {{":f", kBranch}, {":s", kService}, {":p", dish}}) > 0;
        options.allowedWeekdays = allowed;
        const proto::Packet days =
            module
                .call("GetUtilPratSemDet",
                      {kBranch, kService, dish, textOf(rows, row, "NRSEMANA").toStdString()}, session)
                .packet;
        const QString text = reasons::rowReasonWithDays("GetUtilPratSem", rows, row, days, brazil(), options);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.contains(u"; o contrato não permite este prato em "_s));
        QStringList refused;
        for (std::size_t d = 0; d < days.rows.size(); ++d) {
            const double day = *numberOf(days, d, "DTCARDAPIO");
            const auto weekday = static_cast<std::size_t>(proto::weekdayMondayFirst(proto::DateTime{day}));
            const QString shown = host::FormatDateTime(u"dd"_s, day, brazil());
            if (!allowed[weekday] && !refused.contains(shown))
                refused << shown;
        }
        ASSERT_FALSE(refused.isEmpty());
        const QString tail = text.mid(text.lastIndexOf(u" (dia"_s));
        EXPECT_EQ(listedDays(tail).first, refused.mid(0, 8));
    }
}

} // namespace
