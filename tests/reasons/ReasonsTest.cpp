#include "reasons/Reasons.h"

#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Cell = std::pair<std::string, proto::Value>;

proto::FieldType typeOf(const proto::Value& value) {
    if (std::holds_alternative<double>(value))
        return proto::FieldType::Float;
    if (std::holds_alternative<proto::DateTime>(value))
        return proto::FieldType::DateTime;
    if (std::holds_alternative<std::int64_t>(value))
        return proto::FieldType::Integer;
    return proto::FieldType::String;
}

// A packet whose fields are those of its first row, in that order.
proto::Packet packetOf(const std::vector<std::vector<Cell>>& rows) {
    proto::Packet packet;
    if (rows.empty())
        return packet;
    for (const auto& [name, value] : rows.front())
        packet.fields.push_back({name, typeOf(value), 50});
    for (const auto& row : rows) {
        std::vector<proto::Value> cells;
        for (const auto& cell : row)
            cells.push_back(cell.second);
        packet.rows.push_back(std::move(cells));
    }
    return packet;
}

proto::Value day(int d, int m = 3) {
    return proto::fromCivil({2026, m, d});
}

const QLocale& brazil() {
    static const QLocale locale(u"pt_BR"_s);
    return locale;
}

const proto::Value kNull{};

struct SentenceCase {
    const char* what;
    const char* method;
    std::vector<Cell> row;
    const char* expected;
};

void PrintTo(const SentenceCase& c, std::ostream* out) {
    *out << c.what;
}

const std::vector<SentenceCase>& sentenceCases() {
    static const std::vector<SentenceCase> cases = {
        {"weekly dish maximum",
         "GetFreqPratSem",
         {{"CDPRATO", "GFEIJ"},
          {"NMPRATO", "Feijoada"},
          {"NRPRATSEMANA", 3.0},
          {"NRSEMANA", "02"},
          {"NRMAXIFREPRA", 2.0}},
         "Feijoada (GFEIJ) servida 3 vezes na semana 02; o contrato permite no máximo 2 por semana"},
        {"monthly dish range",
         "GetFreqPratMes",
         {{"CDPRATO", "GFEIJ"},
          {"NMPRATO", "Feijoada  "},
          {"NRPRATMES", 9.0},
          {"NRMINIFREPRA", 2.0},
          {"NRMAXMESFPRA", 6.0}},
         "Feijoada (GFEIJ) servida 9 vezes no mês; o contrato permite de 2 a 6"},
        {"monthly dish never served, minimum only",
         "GetFreqPratMes",
         {{"CDPRATO", "PEIXE"},
          {"NMPRATO", "Peixe"},
          {"NRPRATMES", 0.0},
          {"NRMINIFREPRA", 4.0},
          {"NRMAXMESFPRA", kNull}},
         "Peixe (PEIXE) servida nenhuma vez no mês; o contrato permite no mínimo 4"},
        {"weekly option maximum, one serving",
         "GetFreqOpcaSem",
         {{"CDPRATO", "SALAD"},
          {"NMPRATO", "Salada"},
          {"NRSEMANA", "05"},
          {"NRPRATSEMANA", 1.0},
          {"NRMAXIFREOPC", 0.0}},
         "Salada (SALAD) servida como opção 1 vez na semana 05; o contrato permite no máximo 0 por semana"},
        {"monthly option maximum only, grouped thousands",
         "GetFreqOpcaMes",
         {{"CDPRATO", "SALAD"},
          {"NMPRATO", "Salada"},
          {"NRPRATMES", 1501.0},
          {"NRMINIFREOPC", kNull},
          {"NRMAXMESFOPC", 1500.0}},
         "Salada (SALAD) servida como opção 1.501 vezes no mês; o contrato permite no máximo 1.500"},
        {"restricted dish",
         "GetRestPratMes",
         {{"CDPRATO", "FRITO"}, {"NMPRATO", "Frituras"}, {"NRPRATMES", 4.0}},
         "Frituras (FRITO) servida 4 vezes no mês; o contrato proíbe este prato"},
        {"restricted option",
         "GetRestOpcaMes",
         {{"CDPRATO", "DOCE"}, {"NMPRATO", "Doces"}, {"NRPRATMES", 2.0}},
         "Doces (DOCE) servida como opção 2 vezes no mês; o contrato proíbe esta opção"},
        {"weekly use without the contract's weekdays",
         "GetUtilPratSem",
         {{"CDPRATO", "GFEIJ"},
          {"IDUTPRATSEG", "S"},
          {"IDUTPRATTER", "N"},
          {"IDUTPRATQUA", "S"},
          {"IDUTPRATQUI", "N"},
          {"IDUTPRATSEX", "N"},
          {"IDUTPRATSAB", "N"},
          {"IDUTPRATDOM", "S"},
          {"NRSEMANA", "01"},
          {"NMPRATO", "Feijoada"},
          {"NRPRATSEMANA", 3.0}},
         "Feijoada (GFEIJ) servida 3 vezes na semana 01 (seg, qua, dom), em dia que o contrato não permite"},
        {"nutrient above its maximum",
         "GetLimNutri",
         {{"CDNUTRIENTE", "NA"},
          {"QTMAXLIMNUTR", 2400.0},
          {"NMNUTRIENTE", "Sódio"},
          {"SGUNIDADE", "mg"},
          {"NRNUTRMES", 4.0},
          {"QTMINLIMNUTR", kNull}},
         "Sódio acima de 2.400 mg em 4 dias"},
        {"nutrient outside both bounds, one day",
         "GetLimNutri",
         {{"CDNUTRIENTE", "FIB"},
          {"QTMAXLIMNUTR", 30.0},
          {"NMNUTRIENTE", "Fibras"},
          {"SGUNIDADE", "g"},
          {"NRNUTRMES", 1.0},
          {"QTMINLIMNUTR", 12.5}},
         "Fibras fora de 12,5 a 30 g em 1 dia"},
        {"per capita within a dish below its minimum",
         "GetLimPePra",
         {{"CDPRATO", "GFEIJ"},
          {"CDPRODUTO", "FEIJAO"},
          {"QTMINLIMPRAT", 0.05},
          {"QTMAXLIMPRAT", kNull},
          {"NMPRATO", "Feijoada"},
          {"NMPRODUTO", "Feijão preto"},
          {"NRPRODMES", 3.0}},
         "Feijão preto (FEIJAO) em Feijoada (GFEIJ) abaixo de 0,05 por prato em 3 pratos"},
        {"per capita per service, five decimals",
         "GetLimPeSer",
         {{"CDPRODUTO", "ARROZ"},
          {"NMPRODUTO", "Arroz"},
          {"QTMINLIMSERV", 0.00125},
          {"QTMAXLIMSERV", 0.12},
          {"NRPRODMES", 2.0}},
         "Arroz (ARROZ) fora de 0,00125 a 0,12 por serviço em 2 dias"},
        {"restricted product beside its tree code",
         "GetRestProd",
         {{"CDPRODUTO", "AMEND"}, {"NMPRODUTO", "Amendoim"}, {"NRPRODMES", 2.0}, {"CDARVPROD", "01.02.003"}},
         "Amendoim (01.02.003) presente 2 vezes no mês; o contrato proíbe este produto"},
    };
    return cases;
}

class RowSentenceTest : public ::testing::TestWithParam<SentenceCase> {};

TEST_P(RowSentenceTest, ComposesTheRowsOwnNumbers) {
    const SentenceCase& c = GetParam();
    EXPECT_EQ(reasons::rowReason(c.method, packetOf({c.row}), 0, brazil()), QString::fromUtf8(c.expected));
}

// The machine's locale must not leak into the text: CI runs in the C locale, desks in Brazil's.
TEST_P(RowSentenceTest, TheSameTextWhateverTheMachinesLocale) {
    const SentenceCase& c = GetParam();
    const proto::Packet packet = packetOf({c.row});
    const QLocale saved;
    std::vector<QString> texts;
    for (const char* machine : {"C", "pt_BR"}) {
        std::setlocale(LC_ALL, machine);
        QLocale::setDefault(QLocale(QString::fromLatin1(machine)));
        texts.push_back(reasons::rowReason(c.method, packet, 0, brazil()));
    }
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(saved);
    EXPECT_EQ(texts[0], QString::fromUtf8(c.expected));
    EXPECT_EQ(texts[1], texts[0]);
}

// A row whose fields are all null, and a row with no fields at all, still give a sentence: it
// says what it does not know instead of failing, and never shows a number that is not there.
TEST_P(RowSentenceTest, NullAndMissingFieldsReadAsUnknown) {
    const SentenceCase& c = GetParam();
    std::vector<Cell> nulls = c.row;
    for (auto& cell : nulls)
        cell.second = proto::Value{};
    for (const proto::Packet& packet : {packetOf({nulls}), proto::Packet{{}, {{}}}}) {
        const QString text = reasons::rowReason(c.method, packet, 0, brazil());
        EXPECT_TRUE(text.contains(u'?')) << text.toStdString();
        EXPECT_FALSE(text.contains(u"{"_s)) << text.toStdString();
        EXPECT_FALSE(text.contains(u"0"_s)) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Categories, RowSentenceTest, ::testing::ValuesIn(sentenceCases()));

TEST(RowSentence, EveryCategoryHasASentence) {
    ASSERT_EQ(reasons::categoryMethods().size(), 11u);
    for (const std::string& method : reasons::categoryMethods()) {
        bool covered = false;
        for (const SentenceCase& c : sentenceCases())
            covered = covered || method == c.method;
        EXPECT_TRUE(covered) << method;
        EXPECT_EQ(reasons::detailMethodOf(method), method + "Det");
    }
}

TEST(RowSentence, FollowsTheLocaleItIsGiven) {
    const proto::Packet packet = packetOf({{{"NMNUTRIENTE", "Sodium"},
                                            {"SGUNIDADE", "mg"},
                                            {"NRNUTRMES", 4.0},
                                            {"QTMINLIMNUTR", 1000.5},
                                            {"QTMAXLIMNUTR", 2400.0}}});
    EXPECT_EQ(reasons::rowReason("GetLimNutri", packet, 0, QLocale(u"en_US"_s)),
              u"Sodium fora de 1,000.5 a 2,400 mg em 4 dias"_s);
}

TEST(RowSentence, AWrongTypeOrAnEndlessNumberIsUnknown) {
    const proto::Packet packet = packetOf({{{"NMPRATO", 12.0},
                                            {"CDPRATO", "X1"},
                                            {"NRPRATMES", std::numeric_limits<double>::infinity()},
                                            {"NRMINIFREPRA", "2"},
                                            {"NRMAXMESFPRA", std::nan("")}}});
    EXPECT_EQ(reasons::rowReason("GetFreqPratMes", packet, 0, brazil()),
              u"X1 servida ? vezes no mês; o contrato permite qualquer número"_s);
}

TEST(RowSentence, RefusesWhatNamesNoCategoryOrRow) {
    const proto::Packet packet = packetOf({{{"NMPRATO", "Feijoada"}}});
    EXPECT_THROW(reasons::rowReason("GetServico", packet, 0, brazil()), std::invalid_argument);
    EXPECT_THROW(reasons::detailMethodOf("GetFreqPratMesDet"), std::invalid_argument);
    EXPECT_THROW(reasons::rowReason("GetFreqPratMes", packet, 1, brazil()), std::out_of_range);
    EXPECT_FALSE(reasons::isCategory("getfreqpratmes"));
}

// The weekday marks say where the dish was served; the contract's weekdays, when the caller read
// them, say which of those the contract refused.
TEST(WeeklyUse, NamesTheRefusedWeekdaysWhenTheContractsAreGiven) {
    const proto::Packet summary = packetOf({{{"CDPRATO", "GFEIJ"},
                                             {"NMPRATO", "Feijoada"},
                                             {"NRSEMANA", "02"},
                                             {"NRPRATSEMANA", 3.0},
                                             {"IDUTPRATSEG", "S"},
                                             {"IDUTPRATTER", "N"},
                                             {"IDUTPRATQUA", "S"},
                                             {"IDUTPRATQUI", "N"},
                                             {"IDUTPRATSEX", "S"},
                                             {"IDUTPRATSAB", "N"},
                                             {"IDUTPRATDOM", "N"}}});
    // 2 to 6 March 2026: Monday to Friday; the dish was served Monday, Wednesday (twice) and Friday.
    const proto::Packet detail = packetOf({{{"DTCARDAPIO", day(2)}},
                                           {{"DTCARDAPIO", day(4)}},
                                           {{"DTCARDAPIO", day(4)}},
                                           {{"DTCARDAPIO", day(6)}}});
    reasons::ReasonOptions mondaysOnly;
    mondaysOnly.allowedWeekdays = std::array<bool, 7>{true, false, false, false, false, false, false};
    EXPECT_EQ(reasons::rowReasonWithDays("GetUtilPratSem", summary, 0, detail, brazil(), mondaysOnly),
              u"Feijoada (GFEIJ) servida 3 vezes na semana 02 (seg, qua, sex); o contrato não permite este "
              u"prato em qua, sex (dias 04, 06)"_s);
    EXPECT_EQ(reasons::rowReasonWithDays("GetUtilPratSem", summary, 0, detail, brazil()),
              u"Feijoada (GFEIJ) servida 3 vezes na semana 02 (seg, qua, sex), em dia que o contrato não "
              u"permite (dias 02, 04, 06)"_s);
    // Weekdays that refuse none of the served days contradict the row: the marks alone speak.
    reasons::ReasonOptions everyDay;
    everyDay.allowedWeekdays = std::array<bool, 7>{true, true, true, true, true, true, true};
    EXPECT_EQ(reasons::rowReason("GetUtilPratSem", summary, 0, brazil(), everyDay),
              reasons::rowReason("GetUtilPratSem", summary, 0, brazil()));
}

const proto::Packet& monthlyDish() {
    static const proto::Packet packet = packetOf({{{"CDPRATO", "GFEIJ"},
                                                   {"NMPRATO", "Feijoada"},
                                                   {"NRPRATMES", 9.0},
                                                   {"NRMINIFREPRA", 2.0},
                                                   {"NRMAXMESFPRA", 6.0}}});
    return packet;
}

proto::Packet servedOn(const std::vector<int>& days) {
    std::vector<std::vector<Cell>> rows;
    for (const int d : days)
        rows.push_back({{"DTCARDAPIO", day(d)}, {"CDPRATO", "FEIJ1"}, {"NMPRATO", "Feijoada completa"}});
    return packetOf(rows);
}

struct DayListCase {
    const char* what;
    std::vector<int> days;
    int maxDays;
    const char* suffix;
};

class DayListTest : public ::testing::TestWithParam<DayListCase> {};

TEST_P(DayListTest, ListsEachDayOnceUpToTheBound) {
    const DayListCase& c = GetParam();
    reasons::ReasonOptions options;
    options.maxDays = c.maxDays;
    const QString head = reasons::rowReason("GetFreqPratMes", monthlyDish(), 0, brazil());
    EXPECT_EQ(
        reasons::rowReasonWithDays("GetFreqPratMes", monthlyDish(), 0, servedOn(c.days), brazil(), options),
        head + QString::fromUtf8(c.suffix));
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, DayListTest,
    ::testing::Values(DayListCase{"over the bound", {2, 5, 9, 12, 16}, 3, " (dias 02, 05, 09, ...)"},
                      DayListCase{"exactly the bound", {2, 5, 9}, 3, " (dias 02, 05, 09)"},
                      DayListCase{"two items a day count once", {2, 2, 5, 5, 9}, 3, " (dias 02, 05, 09)"},
                      DayListCase{"one day", {31}, 3, " (dia 31)"}, DayListCase{"no detail rows", {}, 3, ""},
                      DayListCase{"a bound below one lists one", {2, 5}, 0, " (dias 02, ...)"}),
    [](const auto& param) { return "Case" + std::to_string(param.index); });

TEST(DayList, ALongMonthStaysShort) {
    std::vector<int> every;
    for (int d = 1; d <= 31; ++d)
        for (int item = 0; item < 40; ++item)
            every.push_back(d);
    const QString text =
        reasons::rowReasonWithDays("GetFreqPratMes", monthlyDish(), 0, servedOn(every), brazil());
    EXPECT_TRUE(text.endsWith(u" (dias 01, 02, 03, 04, 05, 06, 07, 08, ...)"_s)) << text.toStdString();
}

TEST(DayList, AWeekAcrossTwoMonthsShowsTheMonths) {
    const proto::Packet detail = packetOf({{{"DTCARDAPIO", day(27, 2)}}, {{"DTCARDAPIO", day(1)}}});
    EXPECT_TRUE(reasons::rowReasonWithDays("GetFreqPratSem", monthlyDish(), 0, detail, brazil())
                    .endsWith(u" (dias 27/02, 01/03)"_s));
}

TEST(DayList, RowsWithoutADayAreLeftOut) {
    // Days no calendar has are no days either.
    const proto::Packet detail = packetOf({{{"DTCARDAPIO", kNull}},
                                           {{"DTCARDAPIO", proto::DateTime{1e300}}},
                                           {{"DTCARDAPIO", proto::DateTime{-1e12}}},
                                           {{"DTCARDAPIO", day(7)}}});
    EXPECT_TRUE(reasons::rowReasonWithDays("GetRestPratMes", monthlyDish(), 0, detail, brazil())
                    .endsWith(u" (dia 07)"_s));
    const proto::Packet noDayField = packetOf({{{"NMPRATO", "Feijoada"}}});
    EXPECT_EQ(reasons::rowReasonWithDays("GetRestPratMes", monthlyDish(), 0, noDayField, brazil()),
              reasons::rowReason("GetRestPratMes", monthlyDish(), 0, brazil()));
}

TEST(QuantityList, EachDayWithItsQuantity) {
    const proto::Packet summary = packetOf({{{"NMNUTRIENTE", "Sódio"},
                                             {"SGUNIDADE", "mg"},
                                             {"NRNUTRMES", 4.0},
                                             {"QTMINLIMNUTR", kNull},
                                             {"QTMAXLIMNUTR", 2400.0}}});
    const proto::Packet detail = packetOf({{{"DTCARDAPIO", day(3)}, {"QTNUTRIENTE", 2950.0}},
                                           {{"DTCARDAPIO", day(5)}, {"QTNUTRIENTE", 3100.5}},
                                           {{"DTCARDAPIO", day(10)}, {"QTNUTRIENTE", kNull}},
                                           {{"DTCARDAPIO", day(11)}, {"QTNUTRIENTE", 2401.0}}});
    reasons::ReasonOptions options;
    options.maxDays = 3;
    EXPECT_EQ(reasons::rowReasonWithDays("GetLimNutri", summary, 0, detail, brazil(), options),
              u"Sódio acima de 2.400 mg em 4 dias: 03/03 2.950; 05/03 3.100,5; 10/03 ?; ..."_s);
}

// A per-capita limit is judged on the sum of the matching product lines: per day for a service, per
// menu item for a dish.
TEST(QuantityList, SumsTheLinesTheLimitWasCheckedOn) {
    const std::vector<std::vector<Cell>> lines = {
        {{"DTCARDAPIO", day(3)}, {"NRSEQPRATCAR", 1.0}, {"QTPRODUTO", 0.07}, {"SGUNIDADE", "kg"}},
        {{"DTCARDAPIO", day(3)}, {"NRSEQPRATCAR", 1.0}, {"QTPRODUTO", 0.06}, {"SGUNIDADE", "kg"}},
        {{"DTCARDAPIO", day(3)}, {"NRSEQPRATCAR", 2.0}, {"QTPRODUTO", 0.2}, {"SGUNIDADE", "kg"}},
        {{"DTCARDAPIO", day(4)}, {"NRSEQPRATCAR", 1.0}, {"QTPRODUTO", 0.25}, {"SGUNIDADE", "kg"}},
    };
    const proto::Packet perDish = packetOf({{{"CDPRATO", "GFEIJ"},
                                             {"CDPRODUTO", "FEIJAO"},
                                             {"QTMINLIMPRAT", kNull},
                                             {"QTMAXLIMPRAT", 0.1},
                                             {"NMPRATO", "Feijoada"},
                                             {"NMPRODUTO", "Feijão"},
                                             {"NRPRODMES", 3.0}}});
    EXPECT_EQ(reasons::rowReasonWithDays("GetLimPePra", perDish, 0, packetOf(lines), brazil()),
              u"Feijão (FEIJAO) em Feijoada (GFEIJ) acima de 0,1 por prato em 3 pratos: 03/03 0,13 kg; "
              u"03/03 0,2 kg; 04/03 0,25 kg"_s);
    const proto::Packet perService = packetOf({{{"CDPRODUTO", "FEIJAO"},
                                                {"NMPRODUTO", "Feijão"},
                                                {"QTMINLIMSERV", kNull},
                                                {"QTMAXLIMSERV", 0.1},
                                                {"NRPRODMES", 2.0}}});
    EXPECT_EQ(reasons::rowReasonWithDays("GetLimPeSer", perService, 0, packetOf(lines), brazil()),
              u"Feijão (FEIJAO) acima de 0,1 por serviço em 2 dias: 03/03 0,33 kg; 04/03 0,25 kg"_s);
}

TEST(QuantityList, ALongListStopsAtTheBound) {
    std::vector<std::vector<Cell>> lines;
    for (int d = 1; d <= 31; ++d)
        for (int item = 1; item <= 30; ++item)
            lines.push_back({{"DTCARDAPIO", day(d)}, {"NRSEQPRATCAR", double(item)}, {"QTPRODUTO", 1.0}});
    const proto::Packet perDish =
        packetOf({{{"NMPRATO", "Feijoada"}, {"NMPRODUTO", "Feijão"}, {"NRPRODMES", 930.0}}});
    reasons::ReasonOptions options;
    options.maxDays = 2;
    EXPECT_EQ(
        reasons::rowReasonWithDays("GetLimPePra", perDish, 0, packetOf(lines), brazil(), options),
        u"Feijão em Feijoada fora do limite do contrato por prato em 930 pratos: 01/03 1; 01/03 1; ..."_s);
}

} // namespace
