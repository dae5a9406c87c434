#include "results/RecordLayouts.h"
#include "protocol/DateTime.h"
#include "results/TResultRecords.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>

#include <set>

using namespace Qt::StringLiterals;
using proto::FieldType;

namespace {

// Field counts of every set of the screen, as the form declares them.
struct SetCount {
    const char* set;
    int fields;
};

class SetShapeTest : public ::testing::TestWithParam<SetCount> {};

TEST_P(SetShapeTest, TheFormsSetHasItsDeclaredFieldsAndStartsClosed) {
    TResultRecords records;
    host::TClientDataSet* set = records.FindRecordSet(QLatin1StringView(GetParam().set));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Name, QLatin1StringView(GetParam().set));
    EXPECT_EQ(set->FieldCount(), GetParam().fields);
    EXPECT_FALSE(set->Active());
    EXPECT_TRUE(set->IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(AllSets, SetShapeTest,
                         ::testing::Values(SetCount{"cdsFreqPratSem", 7}, SetCount{"cdsFreqPratSemDet", 4},
                                           SetCount{"cdsFreqPratMes", 8}, SetCount{"cdsFreqPratMesDet", 4},
                                           SetCount{"cdsFreqOpcaSem", 7}, SetCount{"cdsFreqOpcaSemDet", 4},
                                           SetCount{"cdsFreqOpcaMes", 8}, SetCount{"cdsFreqOpcaMesDet", 4},
                                           SetCount{"cdsRestPratMes", 6}, SetCount{"cdsRestPratMesDet", 4},
                                           SetCount{"cdsRestOpcaMes", 6}, SetCount{"cdsRestOpcaMesDet", 4},
                                           SetCount{"cdsUtilPratSem", 13}, SetCount{"cdsUtilPratSemDet", 5},
                                           SetCount{"cdsLimNutri", 9}, SetCount{"cdsLimNutriDet", 2},
                                           SetCount{"cdsLimPePra", 10}, SetCount{"cdsLimPePraDet", 11},
                                           SetCount{"cdsLimPeSer", 8}, SetCount{"cdsLimPeSerDet", 9},
                                           SetCount{"cdsRestProd", 7}, SetCount{"cdsRestProdDet", 8},
                                           SetCount{"cdsDataSemana", 2}, SetCount{"cdsServico", 4}),
                         [](const auto& row) { return std::string(row.param.set); });

// A sample of fields, each with what the form gives it.
struct FieldCase {
    const char* set;
    const char* field;
    int index;
    FieldType type;
    int size;
    const char16_t* label; // nullptr: no label, the field name shows
    const char* format;    // floats only; nullptr: general number format
};

class FieldPropertiesTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldPropertiesTest, MatchesTheForm) {
    const FieldCase& c = GetParam();
    TResultRecords records;
    host::TClientDataSet* set = records.FindRecordSet(QLatin1StringView(c.set));
    ASSERT_NE(set, nullptr);
    host::TField* field = set->FindField(QLatin1StringView(c.field));
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->Index(), c.index);
    EXPECT_EQ(field->DataType(), c.type);
    if (c.type == FieldType::String) {
        EXPECT_EQ(field->Size(), c.size);
    }
    EXPECT_EQ(field->DisplayLabel(), c.label ? QString::fromUtf16(c.label) : QLatin1StringView(c.field));
    if (auto* number = dynamic_cast<host::TFloatField*>(field)) {
        EXPECT_EQ(number->DisplayFormat, c.format ? QString::fromLatin1(c.format) : QString());
    }
}

constexpr const char* kFive = "#,##0.00000";
constexpr int kNone = 0;

INSTANTIATE_TEST_SUITE_P(
    Sample, FieldPropertiesTest,
    ::testing::Values(
        // Declared without a size: the default 20 characters.
        FieldCase{"cdsLimNutri", "NMNUTRIENTE", 4, FieldType::String, 20, u"Nutriente", nullptr},
        FieldCase{"cdsRestProd", "CDARVPROD", 6, FieldType::String, 20, nullptr, nullptr},
        FieldCase{"cdsRestProdDet", "CDARVPROD", 7, FieldType::String, 20, nullptr, nullptr},
        FieldCase{"cdsLimNutri", "QTMAXLIMNUTR", 3, FieldType::Float, kNone, u"Qtde.Máxima", kFive},
        FieldCase{"cdsLimNutri", "QTMINLIMNUTR", 8, FieldType::Float, kNone, u"Qtde.Mínima", kFive},
        FieldCase{"cdsLimNutri", "NRNUTRMES", 7, FieldType::Float, kNone, u"Nº de Nutrientes", nullptr},
        FieldCase{"cdsLimNutriDet", "QTNUTRIENTE", 1, FieldType::Float, kNone, u"Qtde. de Nutrientes",
                  nullptr},
        FieldCase{"cdsLimPePraDet", "QTPRODUTO", 9, FieldType::Float, kNone, u"Qtde. de Produto", kFive},
        FieldCase{"cdsLimPePraDet", "NRORDPRATCAR", 10, FieldType::Float, kNone, nullptr, nullptr},
        FieldCase{"cdsLimPeSerDet", "QTPRODUTO", 3, FieldType::Float, kNone, u"Qtde.Produto", kFive},
        FieldCase{"cdsLimPeSer", "QTMAXLIMSERV", 3, FieldType::Float, kNone, u"Qtde.Máxima", kFive},
        FieldCase{"cdsFreqPratSem", "NRSEMANA", 5, FieldType::String, 2, u"Semana", nullptr},
        FieldCase{"cdsFreqPratSem", "NRMAXIFREPRA", 6, FieldType::Float, kNone, u"Máx./Semana", nullptr},
        FieldCase{"cdsFreqPratMes", "DTMESCARD", 4, FieldType::DateTime, kNone, u"Mês", nullptr},
        FieldCase{"cdsFreqOpcaMes", "DTMESCARD", 4, FieldType::DateTime, kNone, nullptr, nullptr},
        // The form's label carries a blank after the parenthesis.
        FieldCase{"cdsFreqOpcaMes", "NMPRATO", 3, FieldType::String, 40, u"Nome do Prato ( ou Grupo)",
                  nullptr},
        FieldCase{"cdsFreqPratMesDet", "NMTIPOPRAT", 1, FieldType::String, 15, u"Prato (ou Grupo)", nullptr},
        FieldCase{"cdsRestOpcaMes", "NMPRATO", 3, FieldType::String, 40, nullptr, nullptr},
        FieldCase{"cdsUtilPratSem", "CDPRATO", 0, FieldType::String, 10, u"Código", nullptr},
        FieldCase{"cdsUtilPratSem", "IDUTPRATSAB", 8, FieldType::String, 1, u"Sab", nullptr},
        FieldCase{"cdsUtilPratSemDet", "IDOPCCNFMES", 2, FieldType::String, 1, u"Opção", nullptr},
        FieldCase{"cdsLimPePra", "NMPRODUTO", 7, FieldType::String, 50, u"Produto (ou Grupo)", nullptr},
        FieldCase{"cdsLimPePra", "CDSERVFILI", 1, FieldType::String, 5, nullptr, nullptr},
        FieldCase{"cdsLimNutri", "CDNUTRIENTE", 2, FieldType::String, 3, u"Código", nullptr},
        FieldCase{"cdsDataSemana", "DTULTIMA", 1, FieldType::DateTime, kNone, nullptr, nullptr},
        FieldCase{"cdsServico", "NMSERVICO", 1, FieldType::String, 40, u"Nome do Serviço", nullptr},
        FieldCase{"cdsServico", "IDMARCADO", 3, FieldType::String, 1, nullptr, nullptr}),
    [](const auto& row) { return std::string(row.param.set) + "_" + row.param.field; });

TEST(RecordLayouts, EveryTextHandlerIsNamedAfterItsSetAndFieldAndThereAreThirtyEight) {
    std::set<std::string> names;
    for (const results::SetLayout& layout : results::recordLayouts())
        for (const results::FieldLayout& field : layout.fields)
            if (field.textHandler) {
                EXPECT_EQ(std::string(field.textHandler), std::string(layout.name) + field.name + "GetText");
                names.insert(field.textHandler);
            }
    EXPECT_EQ(names.size(), 38u);
}

TEST(RecordLayouts, OnlyFloatFieldsCarryADisplayFormatAndNoSetRepeatsAField) {
    for (const results::SetLayout& layout : results::recordLayouts()) {
        std::set<std::string> seen;
        for (const results::FieldLayout& field : layout.fields) {
            EXPECT_TRUE(seen.insert(field.name).second) << layout.name << "." << field.name;
            const results::SharedFieldType* type = results::sharedFieldType(QLatin1StringView(field.name));
            ASSERT_NE(type, nullptr) << field.name;
            if (field.displayFormat) {
                EXPECT_EQ(type->type, FieldType::Float) << layout.name << "." << field.name;
            }
        }
    }
}

TEST(RecordLayouts, EachDataSourceIsOverTheSetOfItsName) {
    TResultRecords records;
    int sources = 0;
    for (const results::SetLayout& layout : results::recordLayouts()) {
        if (!layout.dataSource)
            continue;
        ++sources;
        host::TDataSource* source = records.FindDataSource(QLatin1StringView(layout.dataSource));
        ASSERT_NE(source, nullptr) << layout.dataSource;
        EXPECT_EQ(source->DataSet(), records.FindRecordSet(QLatin1StringView(layout.name)));
        EXPECT_EQ(QString::fromLatin1(layout.dataSource),
                  u"dts"_s + QString::fromLatin1(layout.name).mid(3) + u"__"_s);
    }
    EXPECT_EQ(sources, 23);
    EXPECT_EQ(records.FindRecordSet(u"cdsNada"_s), nullptr);
}

// Restores the default locale a display test set.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

proto::Packet nutrientPacket(double minimum, double count) {
    proto::Packet packet;
    packet.fields = {{"CDFILIAL", FieldType::String, 4},     {"CDSERVFILI", FieldType::String, 5},
                     {"CDNUTRIENTE", FieldType::String, 3},  {"QTMAXLIMNUTR", FieldType::Float, 0},
                     {"NMNUTRIENTE", FieldType::String, 20}, {"SGUNIDADE", FieldType::String, 10},
                     {"DTMESCARD", FieldType::DateTime, 0},  {"NRNUTRMES", FieldType::Float, 0},
                     {"QTMINLIMNUTR", FieldType::Float, 0}};
    packet.rows = {{std::string("0001"), std::string("002"), std::string("001"), 1.0, std::string("Sódio"),
                    std::string("mg"), proto::fromCivil({2026, 3, 1}), count, minimum}};
    return packet;
}

struct NumberCase {
    double minimum;
    double count;
    const char16_t* minimumText; // "#,##0.00000": five decimals, grouped thousands
    const char16_t* countText;   // general number format: no trailing zeros
};

class NumberDisplayTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberDisplayTest, FormattedAndGeneralFloatsShowAsTheFormSays) {
    LocaleGuard locale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    TResultRecords records;
    records.cdsLimNutri.LoadPacket(nutrientPacket(GetParam().minimum, GetParam().count));
    EXPECT_EQ(records.cdsLimNutri.FieldByName(u"QTMINLIMNUTR"_s).DisplayText(),
              QString::fromUtf16(GetParam().minimumText));
    EXPECT_EQ(records.cdsLimNutri.FieldByName(u"NRNUTRMES"_s).DisplayText(),
              QString::fromUtf16(GetParam().countText));
}

INSTANTIATE_TEST_SUITE_P(Values, NumberDisplayTest,
                         ::testing::Values(NumberCase{1234.5, 3, u"1.234,50000", u"3"},
                                           NumberCase{0.25, 12.5, u"0,25000", u"12,5"},
                                           NumberCase{1234567.123456, 1000, u"1.234.567,12346", u"1000"},
                                           NumberCase{0, 0.1, u"0,00000", u"0,1"}));

TEST(RecordLayouts, ATextLongerThanTheDefaultSizeIsRefusedAndTheSetKeepsItsRows) {
    TResultRecords records;
    records.cdsLimNutri.LoadPacket(nutrientPacket(1, 1));
    proto::Packet tooLong = nutrientPacket(2, 2);
    tooLong.rows[0][4] = std::string("Ácidos graxos saturadoss"); // 24 characters, the field holds 20
    EXPECT_ANY_THROW(records.cdsLimNutri.LoadPacket(tooLong));
    ASSERT_EQ(records.cdsLimNutri.RecordCount(), 1);
    EXPECT_EQ(records.cdsLimNutri.FieldByName(u"NMNUTRIENTE"_s).AsString(), u"Sódio"_s);
}

} // namespace
