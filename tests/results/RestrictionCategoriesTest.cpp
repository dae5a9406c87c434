#include "results/RestrictionCategories.h"
#include "module/Cli_kdr60251.h"
#include "results/RecordLayouts.h"
#include "results/TResultRecords.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using analysis::ArgKind;
using results::Pattern;
using results::RestrictionCategory;
using results::Span;
using namespace Qt::StringLiterals;

namespace {

// The run order as the analysis run processes the categories, with each one's number among the
// result descriptions; written out independently of the table under test.
struct RunRow {
    int runOrder;
    const char* optionBox;
    bool* flag;
    const char* summarySet;
    const char* method;
    Span span;
    Pattern pattern;
    int number;
    const char* page;
};

const RunRow kRunOrder[] = {
    {1, "chbFreqPrat", &boFreqPratSem, "cdsFreqPratSem", "GetFreqPratSem", Span::Week, Pattern::A, 1,
     "tshFreqPratSem"},
    {2, "chbFreqPrat", &boFreqPratMes, "cdsFreqPratMes", "GetFreqPratMes", Span::Month, Pattern::A, 2,
     "tshFreqPratMes"},
    {3, "chbFreqOpca", &boFreqOpcaSem, "cdsFreqOpcaSem", "GetFreqOpcaSem", Span::Week, Pattern::A, 3,
     "tshFreqOpcaSem"},
    {4, "chbFreqOpca", &boFreqOpcaMes, "cdsFreqOpcaMes", "GetFreqOpcaMes", Span::Month, Pattern::A, 4,
     "tshFreqOpcaMes"},
    {5, "chbRestPrat", &boRestPratMes, "cdsRestPratMes", "GetRestPratMes", Span::Month, Pattern::B, 5,
     "tshRestPratMes"},
    {6, "chbRestOpca", &boRestOpcaMes, "cdsRestOpcaMes", "GetRestOpcaMes", Span::Month, Pattern::B, 6,
     "tshRestOpcaMes"},
    {7, "chbUtilPrat", &boUtilPratSem, "cdsUtilPratSem", "GetUtilPratSem", Span::Week, Pattern::B, 7,
     "tshUtilPratSem"},
    {8, "chbRestProd", &boRestProd, "cdsRestProd", "GetRestProd", Span::Month, Pattern::B, 11, "tshRestProd"},
    {9, "chbLimPerSer", &boLimPerSer, "cdsLimPeSer", "GetLimPeSer", Span::Month, Pattern::B, 10,
     "tshLimPerSer"},
    {10, "chbLimPerPrat", &boLimPerPrat, "cdsLimPePra", "GetLimPePra", Span::Month, Pattern::B, 9,
     "tshLimPerPrat"},
    {11, "chbLimNutri", &boLimNutri, "cdsLimNutri", "GetLimNutri", Span::Month, Pattern::B, 8, "tshLimNutri"},
};

TEST(RestrictionCategories, FollowTheRunOrderWithTheirNumbers) {
    const auto& table = results::restrictionCategories();
    ASSERT_EQ(table.size(), std::size(kRunOrder));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const RestrictionCategory& c = table[i];
        const RunRow& want = kRunOrder[i];
        SCOPED_TRACE(want.summarySet);
        EXPECT_EQ(c.runOrder, want.runOrder);
        EXPECT_STREQ(c.optionBox, want.optionBox);
        EXPECT_EQ(c.reloadFlag, want.flag);
        EXPECT_STREQ(c.summarySet, want.summarySet);
        EXPECT_STREQ(c.summaryMethod, want.method);
        EXPECT_EQ(c.span, want.span);
        EXPECT_EQ(c.pattern, want.pattern);
        EXPECT_EQ(c.number, want.number);
        EXPECT_STREQ(c.resultPage, want.page);
        EXPECT_EQ(results::categoryByNumber(want.number), &c);
        EXPECT_EQ(results::categoryBySummarySet(QLatin1StringView(want.summarySet)), &c);
        EXPECT_EQ(results::categoryByResultPage(QLatin1StringView(want.page)), &c);
    }
    EXPECT_EQ(results::categoryByNumber(12), nullptr);
    EXPECT_EQ(results::categoryBySummarySet(u"cdsServico"_s), nullptr);
}

TEST(RestrictionCategories, NamesDeriveFromTheSummarySetAndThePageAndFlagsAreDistinct) {
    std::set<bool*> flags;
    for (const RestrictionCategory& c : results::restrictionCategories()) {
        SCOPED_TRACE(c.summarySet);
        const std::string set = c.summarySet;
        EXPECT_EQ(std::string(c.detailSet), set + "Det");
        EXPECT_EQ(std::string(c.detailMethod), std::string(c.summaryMethod) + "Det");
        EXPECT_EQ(std::string(c.summaryMethod), "Get" + set.substr(3));
        EXPECT_EQ(std::string(c.afterScrollHandler), set + "AfterScroll");
        EXPECT_EQ(std::string(c.entryHandler), std::string(c.resultPage) + "Enter");
        EXPECT_TRUE(flags.insert(c.reloadFlag).second);
        EXPECT_NE(c.reloadFlag, &boDataSemana); // the week span's own flag
    }
}

// The span decides which days the summary method receives; the server interface names them.
TEST(RestrictionCategories, EverySummaryMethodTakesTheSpanItsRowNames) {
    for (const RestrictionCategory& c : results::restrictionCategories()) {
        SCOPED_TRACE(c.summaryMethod);
        const analysis::ServerMethod* method = analysis::findServerMethod(QLatin1StringView(c.summaryMethod));
        ASSERT_NE(method, nullptr);
        ASSERT_EQ(method->args.size(), 4u);
        EXPECT_STREQ(method->args[2].name, c.span == Span::Week ? "DTPRIMEIRA" : "DTPRIMDIAMES");
        EXPECT_STREQ(method->args[3].name, c.span == Span::Week ? "DTULTIMA" : "DTULTIDIAMES");
    }
}

bool kindFitsField(ArgKind kind, proto::FieldType type) {
    switch (kind) {
    case ArgKind::Text:
        return type == proto::FieldType::String;
    case ArgKind::Date:
        return type == proto::FieldType::DateTime;
    case ArgKind::Double:
        return type == proto::FieldType::Float;
    case ArgKind::DateByRef:
        return false;
    }
    return false;
}

TEST(RestrictionCategories, EveryDetailMethodTakesExactlyTheArgumentsItsRowNames) {
    int byReference = 0;
    for (const RestrictionCategory& c : results::restrictionCategories()) {
        SCOPED_TRACE(c.detailMethod);
        const analysis::ServerMethod* method = analysis::findServerMethod(QLatin1StringView(c.detailMethod));
        ASSERT_NE(method, nullptr);
        const results::SetLayout* summary = results::findRecordLayout(QLatin1StringView(c.summarySet));
        ASSERT_NE(summary, nullptr);
        const auto& args = results::detailArgs(c);
        EXPECT_EQ(&args, &method->args);
        for (std::size_t i = 0; i < args.size(); ++i) {
            const analysis::ArgRule& arg = args[i];
            if (arg.kind == ArgKind::DateByRef) {
                ++byReference;
                continue;
            }
            // Read from the current summary row: the set must have the field, of the matching type.
            bool found = false;
            for (const results::FieldLayout& field : summary->fields)
                if (std::string(field.name) == arg.name) {
                    found = true;
                    EXPECT_TRUE(kindFitsField(arg.kind,
                                              results::sharedFieldType(QLatin1StringView(field.name))->type))
                        << arg.name;
                }
            EXPECT_TRUE(found) << c.summarySet << " has no field " << arg.name;
        }
    }
    EXPECT_EQ(byReference, 1); // only the weekly dish detail passes dtMesCard
    EXPECT_EQ(results::detailArgs(*results::categoryByNumber(1)).back().kind, ArgKind::DateByRef);
    // The by-reference month is the module's own variable, so the server's answer lands in it.
    TResultRecords records;
    proto::Packet oneRow;
    for (int i = 0; i < records.cdsFreqPratSem.FieldCount(); ++i) {
        const host::TField& field = records.cdsFreqPratSem.Fields(i);
        oneRow.fields.push_back({field.FieldName().toStdString(), field.DataType(), field.Size()});
    }
    oneRow.rows = {std::vector<proto::Value>(oneRow.fields.size())};
    records.cdsFreqPratSem.LoadPacket(oneRow);
    const auto byRef = results::detailCallArgs(*results::categoryByNumber(1), records.cdsFreqPratSem);
    EXPECT_EQ(std::get<host::ByRefDate>(byRef.back()).days, &dtMesCard);
}

TEST(RestrictionCategories, DetailArgumentsAreReadFromTheCurrentSummaryRow) {
    TResultRecords records;
    proto::Packet packet;
    using proto::FieldType;
    packet.fields = {{"CDFILIAL", FieldType::String, 4},    {"CDSERVFILI", FieldType::String, 5},
                     {"CDPRATO", FieldType::String, 10},    {"CDPRODUTO", FieldType::String, 10},
                     {"QTMINLIMPRAT", FieldType::Float, 0}, {"QTMAXLIMPRAT", FieldType::Float, 0},
                     {"NMPRATO", FieldType::String, 40},    {"NMPRODUTO", FieldType::String, 50},
                     {"DTMESCARD", FieldType::DateTime, 0}, {"NRPRODMES", FieldType::Float, 0}};
    const proto::DateTime march = proto::fromCivil({2026, 3, 1});
    packet.rows = {{std::string("0001"), std::string("002"), std::string("P1"), std::string("X1"), 1.0, 2.0,
                    std::string("Arroz"), std::string("Sal"), march, 3.0},
                   {std::string("0001"), std::string("002"), std::string("P2"), std::string("X2"),
                    std::monostate{}, 4.5, std::string("Feijão"), std::string("Óleo"), march, 1.0}};
    records.cdsLimPePra.LoadPacket(packet);
    records.cdsLimPePra.Next();
    const auto args = results::detailCallArgs(*results::categoryByNumber(9), records.cdsLimPePra);
    ASSERT_EQ(args.size(), 7u);
    EXPECT_EQ(std::get<QString>(args[0]), u"0001"_s);
    EXPECT_EQ(std::get<QString>(args[1]), u"002"_s);
    EXPECT_EQ(std::get<proto::DateTime>(args[2]).days, march.days);
    EXPECT_EQ(std::get<QString>(args[3]), u"P2"_s);
    EXPECT_EQ(std::get<QString>(args[4]), u"X2"_s);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(args[5])); // a null limit stays "no bound"
    EXPECT_EQ(std::get<double>(args[6]), 4.5);

    // The weekly dish detail's month travels by reference from the module's own variable.
    const auto weekly = results::detailCallArgs(*results::categoryByNumber(1), records.cdsFreqPratSem);
    ASSERT_EQ(weekly.size(), 5u);
    EXPECT_EQ(std::get<host::ByRefDate>(weekly[4]).days, &dtMesCard);
}

} // namespace
