#include "ServerProcess.h"
#include "TestDatabase.h"

#include "analysis/ServerInterface.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"
#include "protocol/DateTime.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using analysis::CallServerMethod;
using host::Refusal;
using namespace Qt::StringLiterals;

namespace {

proto::DateTime date(int y, int m, int d) {
    return proto::fromCivil({y, m, d});
}

// The connection and the server-interface unit against the real application server.
class RealServerTest : public ::testing::Test {
protected:
    RealServerTest() {
        host::OperatorContext::instance().clear();
        db.exec("INSERT INTO FILIAL VALUES ('0001', 'Hospital Central', 'N', '2026-03-01');"
                "INSERT INTO SERVFILI VALUES ('0001', '00020', 'Jantar');"
                "INSERT INTO SERVFILI VALUES ('0001', '00010', 'Almoço');"
                "INSERT INTO SERVFILI VALUES ('0002', '00010', 'Outro');");
    }
    ~RealServerTest() override { host::OperatorContext::instance().clear(); }

    void aim(host::TNetConnection& net, const ServerProcess& server) {
        net.ServerName = u"KDR60251.rdmAnalRestCont"_s;
        net.Host = QString::fromStdString(server.host());
        net.Port = server.port();
        net.TimeoutMs = 10000;
    }

    TestDatabase db;
};

TEST_F(RealServerTest, LoadsTheServiceListAndTheWeekSpan) {
    ServerProcess server(db.pathString());
    host::TNetConnection net;
    aim(net, server);
    net.Connect();

    host::TClientDataSet services(u"cdsServico"_s);
    services.AddStringField(u"CDSERVFILI"_s, 5);
    services.AddStringField(u"NMSERVICO"_s, 40);
    services.AddStringField(u"IDMARCADO"_s, 1);
    CallServerMethod(net, u"GetServico"_s, {u"0001"_s, u"N"_s}, services);
    ASSERT_EQ(services.RecordCount(), 2);
    EXPECT_EQ(services.FieldByName(u"CDSERVFILI"_s).AsString(), u"00010"_s);
    EXPECT_EQ(services.FieldByName(u"NMSERVICO"_s).AsString(), u"Almoço"_s);
    EXPECT_EQ(services.FieldByName(u"IDMARCADO"_s).AsString(), u"N"_s);
    EXPECT_TRUE(services.Locate(u"NMSERVICO"_s, u"JANTAR"_s, true));

    host::TClientDataSet week(u"cdsDataSemana"_s);
    week.AddDateTimeField(u"DTPRIMEIRA"_s);
    week.AddDateTimeField(u"DTULTIMA"_s);
    CallServerMethod(net, u"GetDataSemana"_s, {date(2026, 3, 1), date(2026, 3, 31)}, week);
    ASSERT_EQ(week.RecordCount(), 1);
    EXPECT_EQ(week.FieldByName(u"DTPRIMEIRA"_s).AsDateTime(), date(2026, 2, 23).days);
    EXPECT_EQ(week.FieldByName(u"DTULTIMA"_s).AsDateTime(), date(2026, 4, 5).days);

    // The weekly detail reads the session's span and writes its month back.
    double month = 0;
    host::TClientDataSet detail(u"cdsFreqPratSemDet"_s);
    analysis::GetFreqPratSemDet(net, u"0001"_s, u"00010"_s, u"01"_s, u"0101001001"_s, month, detail);
    EXPECT_EQ(month, date(2026, 3, 1).days);
    EXPECT_TRUE(detail.IsEmpty());

    // Null limits are accepted as "no bound".
    host::TClientDataSet limits(u"cdsLimPeSerDet"_s);
    CallServerMethod(net, u"GetLimPeSerDet"_s,
                     {u"0001"_s, u"00010"_s, date(2026, 3, 1), u"P1"_s, std::monostate{}, std::monostate{}},
                     limits);
    EXPECT_TRUE(limits.IsEmpty());
    net.Disconnect();
    EXPECT_FALSE(net.Connected());
}

TEST_F(RealServerTest, TheServersRefusalReachesTheCallerAndKeepsTheSet) {
    ServerProcess server(db.pathString());
    host::TNetConnection net;
    aim(net, server);
    net.Connect();
    host::TClientDataSet week(u"cdsDataSemana"_s);
    week.AddDateTimeField(u"DTPRIMEIRA"_s);
    week.AddDateTimeField(u"DTULTIMA"_s);
    CallServerMethod(net, u"GetDataSemana"_s, {date(2026, 3, 1), date(2026, 3, 31)}, week);
    try {
        // U before P.
        CallServerMethod(net, u"GetDataSemana"_s, {date(2026, 3, 31), date(2026, 3, 1)}, week);
        ADD_FAILURE() << "no refusal";
    } catch (const Refusal& refusal) {
        EXPECT_TRUE(refusal.message().contains(u"GetDataSemana"_s)) << refusal.message().toStdString();
    }
    EXPECT_EQ(week.RecordCount(), 1);
}

TEST_F(RealServerTest, TheSecretFromTheSettingsOpensAGuardedServer) {
    ServerProcess::Options options;
    options.secret = "segredo-123";
    ServerProcess server(db.pathString(), options);
    host::TNetConnection net;
    aim(net, server);
    const QString where = u"%1:%2"_s.arg(net.Host).arg(net.Port);
    try {
        net.Connect();
        ADD_FAILURE() << "connected without the secret";
    } catch (const Refusal& refusal) {
        EXPECT_TRUE(refusal.message().contains(where)) << refusal.message().toStdString();
    }
    QTemporaryDir dir;
    QFile secret(dir.filePath(u"secret"_s));
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("segredo-123\n");
    secret.close();
    host::OperatorContext::instance().set(host::keys::kServerSecretFile, secret.fileName());
    net.Connect();
    host::TClientDataSet services(u"cdsServico"_s);
    CallServerMethod(net, u"GetServico"_s, {u"0001"_s, u"N"_s}, services);
    EXPECT_EQ(services.RecordCount(), 2);
}

} // namespace
