#include "host/data/TClientDataSet.h"
#include "RefusalOf.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "host/core/ScopeGuard.h"
#include "host/data/TDataSource.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QSignalSpy>

#include <functional>
#include <string>

using host::Refusal;
using host::TClientDataSet;
using proto::FieldType;
using proto::Packet;
using namespace Qt::StringLiterals;

namespace {

double day(int y, int m, int d, int hh = 0, int mm = 0) {
    return proto::fromCivil({y, m, d, hh, mm, 0}).days;
}

// A service list in small: code, name, mark, a quantity and a date.
void declare(TClientDataSet& set) {
    set.AddStringField(u"CDSERVFILI"_s, 5);
    set.AddStringField(u"NMSERVICO"_s, 40);
    set.AddStringField(u"IDMARCADO"_s, 1);
    set.AddFloatField(u"QTPRODUTO"_s);
    set.AddDateTimeField(u"DTCARDAPIO"_s);
}

// The packet's fields in another order than the set's, with one the set does not declare.
Packet services(std::initializer_list<const char*> codes) {
    Packet packet;
    packet.fields = {{"NMSERVICO", FieldType::String, 40}, {"EXTRA", FieldType::String, 3},
                     {"CDSERVFILI", FieldType::String, 5}, {"IDMARCADO", FieldType::String, 1},
                     {"QTPRODUTO", FieldType::Float, 0},   {"DTCARDAPIO", FieldType::DateTime, 0}};
    int n = 0;
    for (const char* code : codes) {
        ++n;
        packet.rows.push_back({std::string("Serviço ") + code, std::string("x"), std::string(code),
                               std::string("N"), 1.5 * n, proto::DateTime{day(2026, 3, n)}});
    }
    return packet;
}

class RecordSetTest : public ::testing::Test {
protected:
    RecordSetTest() : set(u"cdsServico"_s) {
        declare(set);
        set.AfterScroll = [this](TClientDataSet& sender) {
            EXPECT_EQ(&sender, &set);
            scrolls.push_back(sender.RecNo());
        };
    }
    QString code() const { return set.FieldByName(u"CDSERVFILI"_s).AsString(); }

    TClientDataSet set;
    std::vector<int> scrolls;
};

TEST_F(RecordSetTest, LoadsAPacketMatchedByNameAndPositionsOnTheFirstRow) {
    set.LoadPacket(services({"001", "002", "003"}));
    EXPECT_TRUE(set.Active());
    EXPECT_EQ(set.State(), host::TDataSetState::dsBrowse);
    EXPECT_EQ(set.RecordCount(), 3);
    EXPECT_EQ(set.RecNo(), 1);
    EXPECT_EQ(code(), u"001"_s);
    EXPECT_EQ(set.FieldByName(u"NMSERVICO"_s).AsString(), u"Serviço 001"_s);
    EXPECT_EQ(set.FieldByName(u"QTPRODUTO"_s).AsFloat(), 1.5);
    EXPECT_EQ(set.FieldByName(u"DTCARDAPIO"_s).AsDateTime(), day(2026, 3, 1));
    EXPECT_EQ(set.FindField(u"EXTRA"_s), nullptr);
    EXPECT_EQ(scrolls, std::vector<int>{1});
}

TEST_F(RecordSetTest, AnEmptyLoadRaisesNoAfterScroll) {
    set.LoadPacket(services({}));
    EXPECT_TRUE(set.Active());
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_TRUE(set.Eof());
    EXPECT_TRUE(set.Bof());
    EXPECT_EQ(set.RecNo(), 0);
    EXPECT_TRUE(set.FieldByName(u"CDSERVFILI"_s).IsNull());
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(RecordSetTest, ReloadingReplacesTheRowsAndRaisesAfterScrollAgain) {
    set.LoadPacket(services({"001", "002"}));
    set.Last();
    set.LoadPacket(services({"009"}));
    EXPECT_EQ(set.RecordCount(), 1);
    EXPECT_EQ(code(), u"009"_s);
    EXPECT_EQ(scrolls, (std::vector<int>{1, 2, 1}));
    set.EmptyDataSet();
    EXPECT_TRUE(set.IsEmpty());
    EXPECT_TRUE(set.Active());
}

TEST_F(RecordSetTest, IntegersLoadIntoFloatFieldsAndNullsStayNull) {
    Packet packet = services({"001"});
    packet.fields[4].type = FieldType::Integer;
    packet.rows[0][4] = std::int64_t{7};
    packet.rows[0][0] = std::monostate{};
    set.LoadPacket(packet);
    EXPECT_EQ(set.FieldByName(u"QTPRODUTO"_s).AsFloat(), 7.0);
    EXPECT_TRUE(set.FieldByName(u"NMSERVICO"_s).IsNull());
    EXPECT_EQ(set.FieldByName(u"NMSERVICO"_s).AsString(), QString());
}

// A bad packet is refused whole: the rows, the current row and the events stay as they were.
struct BadPacket {
    const char* name;
    std::function<void(Packet&)> spoil;
    const char* expected;
};

class BadPacketTest : public RecordSetTest, public ::testing::WithParamInterface<BadPacket> {};

TEST_P(BadPacketTest, IsRefusedAndLeavesTheSetAsItWas) {
    set.LoadPacket(services({"001", "002"}));
    set.Next();
    scrolls.clear();
    Packet packet = services({"101", "102", "103"});
    GetParam().spoil(packet);
    const QString message = refusalOf([&] { set.LoadPacket(packet); });
    EXPECT_TRUE(message.contains(QString::fromUtf8(GetParam().expected))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"cdsServico"_s)) << message.toStdString();
    EXPECT_EQ(set.RecordCount(), 2);
    EXPECT_EQ(set.RecNo(), 2);
    EXPECT_EQ(code(), u"002"_s);
    EXPECT_TRUE(scrolls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Packets, BadPacketTest,
    ::testing::Values(
        BadPacket{"MissingField",
                  [](Packet& p) {
                      p.fields.erase(p.fields.begin() + 3);
                      for (auto& row : p.rows)
                          row.erase(row.begin() + 3);
                  },
                  "falta o campo 'IDMARCADO'"},
        BadPacket{"FieldNamesCompareExactly", [](Packet& p) { p.fields[2].name = "cdservfili"; },
                  "falta o campo 'CDSERVFILI'"},
        BadPacket{"TextWhereFloat", [](Packet& p) { p.fields[4].type = FieldType::String; }, "'QTPRODUTO'"},
        BadPacket{"FloatWhereDate", [](Packet& p) { p.fields[5].type = FieldType::Float; }, "'DTCARDAPIO'"},
        BadPacket{"TextTooLongInTheLastRow", [](Packet& p) { p.rows[2][2] = std::string("123456"); },
                  "'CDSERVFILI' aceita 5 caracteres e a linha 3 traz 6"},
        BadPacket{"RowTooShort", [](Packet& p) { p.rows[1].pop_back(); }, "linha 2"},
        BadPacket{"CellOfTheWrongType", [](Packet& p) { p.rows[2][5] = std::string("2026-03-01"); },
                  "'DTCARDAPIO', linha 3"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(RecordSetTest, FieldSizesCountCharactersAndDefaultTo20) {
    TClientDataSet names(u"cdsNomes"_s);
    EXPECT_EQ(names.AddStringField(u"NMPRATO"_s).Size(), 20);
    Packet packet;
    packet.fields = {{"NMPRATO", FieldType::String, 40}};
    packet.rows = {{std::string("Purê de maçã com açúcar")}}; // 23 characters
    EXPECT_FALSE(refusalOf([&] { names.LoadPacket(packet); }).isEmpty());
    packet.rows = {{std::string("Purê de maçã açúcar")}}; // 19 characters, more bytes than 20
    names.LoadPacket(packet);
    EXPECT_EQ(names.FieldByName(u"NMPRATO"_s).AsString(), u"Purê de maçã açúcar"_s);
}

TEST_F(RecordSetTest, ASetWithoutDeclaredFieldsTakesThePacketsFields) {
    TClientDataSet open(u"cdsLivre"_s);
    open.LoadPacket(services({"001"}));
    EXPECT_EQ(open.FieldCount(), 6);
    EXPECT_EQ(open.FieldByName(u"EXTRA"_s).AsString(), u"x"_s);
    EXPECT_EQ(open.FieldByName(u"EXTRA"_s).Size(), 3);
}

TEST_F(RecordSetTest, WalksEveryRowOnceAndSetsEofAndBof) {
    set.LoadPacket(services({"001", "002", "003"}));
    QStringList seen;
    for (set.First(); !set.Eof(); set.Next())
        seen << code();
    EXPECT_EQ(seen, (QStringList{u"001"_s, u"002"_s, u"003"_s}));
    EXPECT_EQ(set.RecNo(), 3);
    set.Prior();
    EXPECT_FALSE(set.Eof());
    EXPECT_EQ(code(), u"002"_s);
    set.First();
    EXPECT_TRUE(set.Bof());
    set.Prior();
    EXPECT_TRUE(set.Bof());
    EXPECT_EQ(set.RecNo(), 1);
    set.Last();
    EXPECT_TRUE(set.Eof());
    EXPECT_EQ(code(), u"003"_s);
}

TEST_F(RecordSetTest, AfterScrollFollowsEveryRowChangeOnly) {
    set.LoadPacket(services({"001", "002", "003"}));
    set.First(); // already there
    set.Next();
    set.Next();
    set.Next(); // past the end: no move
    set.Prior();
    set.SetRecNo(1);
    EXPECT_EQ(scrolls, (std::vector<int>{1, 2, 3, 2, 1}));
    set.AfterScroll = nullptr;
    set.Last();
    EXPECT_EQ(scrolls.size(), 5u);
}

TEST_F(RecordSetTest, AnExceptionFromAfterScrollReachesTheCaller) {
    set.LoadPacket(services({"001", "002"}));
    set.AfterScroll = [](TClientDataSet&) { throw Refusal(u"falhou"_s); };
    EXPECT_EQ(refusalOf([&] { set.Next(); }), u"falhou"_s);
    EXPECT_EQ(set.RecNo(), 2); // the move itself happened
    EXPECT_EQ(refusalOf([&] { set.LoadPacket(services({"009"})); }), u"falhou"_s);
}

struct LocateCase {
    const char* field;
    QVariant value;
    bool ignoreCase;
    int recNo; // 0: not found
};

class LocateTest : public RecordSetTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTest, FindsTheFirstMatchingRowOrStays) {
    Packet packet = services({"abc", "ABC", "x01"});
    set.LoadPacket(packet);
    set.Last();
    scrolls.clear();
    const bool found =
        set.Locate(QString::fromUtf8(GetParam().field), GetParam().value, GetParam().ignoreCase);
    EXPECT_EQ(found, GetParam().recNo != 0);
    EXPECT_EQ(set.RecNo(), GetParam().recNo != 0 ? GetParam().recNo : 3);
    EXPECT_EQ(scrolls.size(), GetParam().recNo != 0 && GetParam().recNo != 3 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Keys, LocateTest,
                         ::testing::Values(LocateCase{"CDSERVFILI", u"ABC"_s, false, 2},
                                           LocateCase{"CDSERVFILI", u"ABC"_s, true, 1},
                                           LocateCase{"CDSERVFILI", u"aBc"_s, false, 0},
                                           LocateCase{"cdservfili", u"X01"_s, true, 3},
                                           LocateCase{"CDSERVFILI", u"zzz"_s, true, 0},
                                           LocateCase{"QTPRODUTO", 3.0, false, 2},
                                           LocateCase{"NMSERVICO", u"serviço ABC"_s, true, 1}));

TEST_F(RecordSetTest, EditAndPostChangeTheCurrentRowOnly) {
    set.LoadPacket(services({"001", "002"}));
    set.Edit();
    EXPECT_EQ(set.State(), host::TDataSetState::dsEdit);
    set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"S"_s);
    set.Post();
    EXPECT_EQ(set.State(), host::TDataSetState::dsBrowse);
    set.Next();
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
    set.First();
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"S"_s);
}

TEST_F(RecordSetTest, CancelDiscardsAndMovingPostsAPendingEdit) {
    set.LoadPacket(services({"001", "002"}));
    set.Edit();
    set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    set.Cancel();
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
    set.Edit();
    set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    set.Next();
    set.First();
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"S"_s);
}

TEST_F(RecordSetTest, WritesOutsideEditOrBeyondTheSizeAreRefused) {
    set.LoadPacket(services({"001"}));
    EXPECT_FALSE(refusalOf([&] { set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s); }).isEmpty());
    EXPECT_FALSE(refusalOf([&] { set.Post(); }).isEmpty());
    set.Edit();
    EXPECT_FALSE(refusalOf([&] { set.FieldByName(u"IDMARCADO"_s).SetAsString(u"SS"_s); }).isEmpty());
    EXPECT_EQ(set.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
    set.Cancel();
    set.EmptyDataSet();
    EXPECT_FALSE(refusalOf([&] { set.Edit(); }).isEmpty());
}

TEST_F(RecordSetTest, BookmarksReturnToTheirRowAndAreSafeAfterAReload) {
    set.LoadPacket(services({"001", "002", "003"}));
    set.Next();
    host::TBookmark mark = set.GetBookmark();
    set.Last();
    set.GotoBookmark(mark);
    EXPECT_EQ(code(), u"002"_s);
    EXPECT_TRUE(set.BookmarkValid(mark));
    set.LoadPacket(services({"001", "002", "003"}));
    EXPECT_FALSE(set.BookmarkValid(mark));
    EXPECT_FALSE(refusalOf([&] { set.GotoBookmark(mark); }).isEmpty());
    EXPECT_EQ(set.RecNo(), 1);
    set.FreeBookmark(mark);
    EXPECT_TRUE(mark.isNull());
    EXPECT_FALSE(refusalOf([&] { set.GotoBookmark(mark); }).isEmpty());
}

TEST_F(RecordSetTest, TextsFollowTheFieldsFormatsAndTheTextEvent) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const host::ScopeGuard restore([saved] { QLocale::setDefault(saved); });
    auto& quantity = static_cast<host::TFloatField&>(set.FieldByName(u"QTPRODUTO"_s));
    auto& date = set.FieldByName(u"DTCARDAPIO"_s);
    auto& name = set.FieldByName(u"NMSERVICO"_s);
    auto& serviceCode = set.FieldByName(u"CDSERVFILI"_s);
    quantity.DisplayFormat = u"#,##0.00000"_s;
    serviceCode.EditMask = u">aa-aaa;0; "_s;
    std::vector<bool> flags;
    name.OnGetText = [&](host::TField& sender, QString& text, bool displayText) {
        EXPECT_EQ(&sender, &name);
        EXPECT_TRUE(text.isEmpty());
        flags.push_back(displayText);
        text = sender.AsString() + u" / "_s + serviceCode.AsString();
    };
    Packet packet = services({"abc12", "x"});
    packet.rows[0][4] = 1234.5;
    packet.rows[1][5] = proto::DateTime{day(2004, 3, 2, 9, 30)};
    set.LoadPacket(packet);
    EXPECT_EQ(quantity.DisplayText(), u"1.234,50000"_s);
    EXPECT_EQ(quantity.AsString(), u"1234,5"_s);
    EXPECT_EQ(serviceCode.DisplayText(), u"AB-C12"_s);
    EXPECT_EQ(serviceCode.AsString(), u"abc12"_s);
    EXPECT_EQ(date.DisplayText(), u"01/03/2026"_s);
    EXPECT_EQ(name.DisplayText(), u"Serviço abc12 / abc12"_s);
    EXPECT_EQ(name.Text(), u"Serviço abc12 / abc12"_s);
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
    // A grid painting another row: the event reads that row, the current row stays.
    EXPECT_EQ(set.DisplayTextAt(1, name.Index()), u"Serviço x / x"_s);
    EXPECT_EQ(set.DisplayTextAt(1, date.Index()), u"02/03/2004 09:30:00"_s);
    EXPECT_EQ(set.RecNo(), 1);
    EXPECT_EQ(serviceCode.AsString(), u"abc12"_s);
    EXPECT_EQ(set.DisplayTextAt(2, name.Index()), QString());
    EXPECT_EQ(set.DisplayTextAt(0, set.FieldCount()), QString());
    EXPECT_EQ(name.DisplayLabel(), u"NMSERVICO"_s);
    name.SetDisplayLabel(u"Serviço"_s);
    EXPECT_EQ(name.DisplayLabel(), u"Serviço"_s);
}

TEST_F(RecordSetTest, FieldsAreDeclaredOnlyOnceAndWhileClosed) {
    EXPECT_FALSE(refusalOf([&] { set.AddStringField(u"CDSERVFILI"_s, 5); }).isEmpty());
    set.CreateDataSet();
    EXPECT_FALSE(refusalOf([&] { set.AddFloatField(u"QTNOVO"_s); }).isEmpty());
    EXPECT_FALSE(refusalOf([&] { set.FieldByName(u"NAOEXISTE"_s); }).isEmpty());
}

class DataSourceTest : public RecordSetTest {
protected:
    DataSourceTest() { source.SetDataSet(&set); }
    host::TDataSource source;
};

TEST_F(DataSourceTest, SignalsFollowTheSetAndTheGridMovesIt) {
    QSignalSpy reset(&source, &host::TDataSource::dataReset);
    QSignalSpy current(&source, &host::TDataSource::currentRowChanged);
    QSignalSpy rowData(&source, &host::TDataSource::rowDataChanged);
    set.LoadPacket(services({"001", "002", "003"}));
    EXPECT_GE(reset.count(), 1);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.takeFirst().at(0).toInt(), 0);
    source.setCurrentRow(2);
    EXPECT_EQ(set.RecNo(), 3);
    EXPECT_EQ(source.currentRow(), 2);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.takeFirst().at(0).toInt(), 2);
    EXPECT_EQ(scrolls, (std::vector<int>{1, 3}));
    set.Edit();
    set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
    set.Post();
    ASSERT_GE(rowData.count(), 1);
    EXPECT_EQ(rowData.last().at(0).toInt(), 2);
}

TEST_F(DataSourceTest, DisabledControlsHearNothingUntilEnabledThenOneRefresh) {
    set.LoadPacket(services({"001", "002", "003"}));
    QSignalSpy reset(&source, &host::TDataSource::dataReset);
    QSignalSpy current(&source, &host::TDataSource::currentRowChanged);
    scrolls.clear();
    set.DisableControls();
    set.DisableControls();
    for (set.First(); !set.Eof(); set.Next()) {
        set.Edit();
        set.FieldByName(u"IDMARCADO"_s).SetAsString(u"S"_s);
        set.Post();
    }
    set.EnableControls();
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(current.count(), 0);
    set.EnableControls();
    EXPECT_EQ(reset.count(), 1);
    ASSERT_EQ(current.count(), 1);
    EXPECT_EQ(current.takeFirst().at(0).toInt(), 2);
    // The set's own event is not a control: it kept running.
    EXPECT_EQ(scrolls, (std::vector<int>{2, 3}));
}

TEST_F(DataSourceTest, ASetThatGoesAwayLeavesTheSourceEmpty) {
    auto owned = std::make_unique<TClientDataSet>(u"cdsTemp"_s);
    host::TDataSource other;
    other.SetDataSet(owned.get());
    QSignalSpy reset(&other, &host::TDataSource::dataReset);
    owned.reset();
    EXPECT_EQ(other.DataSet(), nullptr);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(other.currentRow(), -1);
}

TEST_F(RecordSetTest, ARequiredFieldRefusesAPacketThatLeavesItNull) {
    set.LoadPacket(services({"001"}));
    set.FieldByName(u"CDSERVFILI"_s).Required = true;
    Packet packet = services({"002", "003"});
    packet.rows[1][2] = std::monostate{};
    EXPECT_TRUE(refusalOf([&] { set.LoadPacket(packet); }).contains(u"CDSERVFILI"_s));
    ASSERT_EQ(set.RecordCount(), 1) << "the set keeps its rows";
    EXPECT_EQ(code(), u"001"_s);
}

// The machine's locale (the default QLocale, as LANG gives it) must not change a text: the format
// settings alone decide.
class FormatSettingsTextTest : public RecordSetTest, public ::testing::WithParamInterface<QLocale> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam());
        host::OperatorContext::instance().clear();
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::c());
        host::OperatorContext::instance().clear();
    }
};

TEST_P(FormatSettingsTextTest, BrazilianWhateverTheMachineLocale) {
    auto& quantity = static_cast<host::TFloatField&>(set.FieldByName(u"QTPRODUTO"_s));
    auto& date = set.FieldByName(u"DTCARDAPIO"_s);
    quantity.DisplayFormat = u"#,##0.00000"_s;
    Packet packet = services({"abc12"});
    packet.rows[0][4] = 1498.8;
    packet.rows[0][5] = proto::DateTime{day(2026, 3, 9)};
    set.LoadPacket(packet);
    EXPECT_EQ(quantity.DisplayText(), u"1.498,80000"_s);
    EXPECT_EQ(quantity.AsString(), u"1498,8"_s);
    EXPECT_EQ(date.DisplayText(), u"09/03/2026"_s);

    set.Edit();
    quantity.SetAsString(u"2,5"_s);
    EXPECT_EQ(quantity.AsFloat(), 2.5);
    // No silent second reading by the C locale, and no group separator either way.
    for (const QString& refused : {u"2.5"_s, u"1.500"_s, u"1.500,5"_s})
        EXPECT_FALSE(refusalOf([&] { quantity.SetAsString(refused); }).isEmpty()) << refused.toStdString();
    EXPECT_EQ(quantity.AsFloat(), 2.5);
    // A float kept as text keeps every digit, and reads back as the same double.
    auto& name = set.FieldByName(u"NMSERVICO"_s);
    name.SetAsFloat(0.1 + 0.2);
    EXPECT_EQ(name.AsString(), u"0,30000000000000004"_s);
    EXPECT_EQ(name.AsFloat(), 0.1 + 0.2);
    set.Cancel();
}

TEST_P(FormatSettingsTextTest, TheSettingsKeyChoosesAnotherFormat) {
    host::OperatorContext::instance().set(host::keys::kFormatLocale, u"en_US"_s);
    auto& quantity = static_cast<host::TFloatField&>(set.FieldByName(u"QTPRODUTO"_s));
    quantity.DisplayFormat = u"#,##0.00000"_s;
    Packet packet = services({"abc12"});
    packet.rows[0][4] = 1498.8;
    set.LoadPacket(packet);
    EXPECT_EQ(quantity.DisplayText(), u"1,498.80000"_s);
    host::OperatorContext::instance().set(host::keys::kFormatLocale, u"xx_YY"_s);
    EXPECT_FALSE(refusalOf([&] { (void)quantity.DisplayText(); }).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(MachineLocales, FormatSettingsTextTest,
                         ::testing::Values(QLocale::c(), QLocale(QLocale::Portuguese, QLocale::Brazil),
                                           QLocale(QLocale::English, QLocale::UnitedStates)));

} // namespace
