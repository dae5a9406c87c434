#include "GeneratedDemo.h"
#include "PostgresCluster.h"
#include "ServerProcess.h"
#include "TestDatabase.h"

#include "protocol/HostPort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString loadBinary() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT)).filePath(u"bin/restcont-load"_s);
}

QString benchBinary() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT)).filePath(u"bin/restcont-bench"_s);
}

QString crowdBinary() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT)).filePath(u"bin/restcont-crowd"_s);
}

QString demoPath() {
    return QString::fromStdString(generatedDemo().string());
}

struct Row {
    QStringList cells;
    int integer(int column) const { return cells.value(column).toInt(); }
    double number(int column) const { return cells.value(column).toDouble(); }
};

struct ToolRun {
    int status = -1; // -2: crashed or did not end in time
    QString out, err;
    // The table's data lines, each cell trimmed.
    std::vector<Row> rows() const {
        std::vector<Row> found;
        for (const QString& line : out.split(u'\n')) {
            if (!line.startsWith(u"| sqlite |"_s) && !line.startsWith(u"| postgresql |"_s) &&
                !line.startsWith(u"| alvo |"_s))
                continue;
            QStringList cells = line.split(u'|');
            cells.removeFirst();
            cells.removeLast();
            for (QString& cell : cells)
                cell = cell.trimmed();
            found.push_back({cells});
        }
        return found;
    }
};

ToolRun finish(QProcess& process, int timeoutMs) {
    ToolRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        run.status = -2;
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    } else {
        run.status = -2;
    }
    run.out += QString::fromUtf8(process.readAllStandardOutput());
    run.err += QString::fromUtf8(process.readAllStandardError());
    return run;
}

ToolRun runTool(const QString& binary, const QStringList& args, int timeoutMs = 120000) {
    QProcess process;
    process.start(binary, args);
    if (!process.waitForStarted())
        return {};
    return finish(process, timeoutMs);
}

ToolRun load(const QStringList& args, int timeoutMs = 120000) {
    return runTool(loadBinary(), args, timeoutMs);
}

// Columns of a single measurement's line.
enum Column { Engine, Sessions, Calls, Made, PerSecond, Median, P99, Errors, Peak, Resident };
// A round's line has the round after M.
enum RoundColumn { RRound = 3, RMade, RPerSecond, RMedian, RP99, RErrors, RPeak, RResident };

TEST(LoadTool, TinyLoadsOnTheDemoRunCleanWithEveryCallCountedAndTheServersMemory) {
    const ToolRun run = load({u"--database"_s, demoPath(), u"--sessions"_s, u"1,2"_s, u"--calls"_s, u"5"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 2u) << run.out.toStdString();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const int sessions = i == 0 ? 1 : 2;
        EXPECT_EQ(row.cells.size(), 10);
        EXPECT_EQ(row.cells[Engine], u"sqlite"_s);
        EXPECT_EQ(row.integer(Sessions), sessions);
        EXPECT_EQ(row.integer(Calls), 5);
        // Five calls stop the analysis inside its second summary's detail: the budget is calls,
        // not analyses.
        EXPECT_EQ(row.integer(Made), 5 * sessions);
        EXPECT_GT(row.number(PerSecond), 0);
        EXPECT_GT(row.number(Median), 0);
        EXPECT_GE(row.number(P99), row.number(Median));
        EXPECT_EQ(row.cells[Errors], u"0"_s);
        EXPECT_GT(row.integer(Peak), 1000);
        EXPECT_GT(row.integer(Resident), 1000);
        EXPECT_LE(row.integer(Resident), row.integer(Peak));
    }
}

TEST(LoadTool, RoundsSampleTheResidentSetEachRoundOnOneServer) {
    const ToolRun run = load(
        {u"--database"_s, demoPath(), u"--sessions"_s, u"2"_s, u"--calls"_s, u"5"_s, u"--rounds"_s, u"2"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 2u) << run.out.toStdString();
    for (int round = 1; round <= 2; ++round) {
        const Row& row = rows[static_cast<std::size_t>(round - 1)];
        EXPECT_EQ(row.cells.size(), 11);
        EXPECT_EQ(row.integer(RRound), round);
        EXPECT_EQ(row.integer(RMade), 10);
        EXPECT_EQ(row.cells[RErrors], u"0"_s);
        EXPECT_GT(row.integer(RResident), 1000);
    }
    // One server for every round: its peak never falls.
    EXPECT_GE(rows[1].integer(RPeak), rows[0].integer(RPeak));
    EXPECT_EQ(run.err.count(u"servidor pid"_s), 1) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"não medem crescimento"_s)) << run.out.toStdString();
}

TEST(LoadTool, AbandonedSessionsExpireSoLaterRoundsAreNotRefused) {
    // Sixty-four sessions is the server's limit: a second round could not open its sessions if the
    // first round's were still held.
    const ToolRun run = load({u"--database"_s, demoPath(), u"--sessions"_s, u"64"_s, u"--calls"_s, u"2"_s,
                              u"--rounds"_s, u"3"_s, u"--abandon"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString() << run.out.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 3u);
    for (const Row& row : rows)
        EXPECT_EQ(row.cells[RErrors], u"0"_s);
    EXPECT_TRUE(run.out.contains(u"sessões abandonadas"_s));
    EXPECT_TRUE(QRegularExpression(u"da rodada 2 à 3: \\d+ -> \\d+ KiB"_s).match(run.out).hasMatch())
        << run.out.toStdString();
}

TEST(LoadTool, WithoutADatabaseItBuildsTheDemoAndRemovesItAfterwards) {
    const ToolRun run = load({u"--sessions"_s, u"1"_s, u"--calls"_s, u"23"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].integer(Made), 23);
    EXPECT_EQ(rows[0].cells[Errors], u"0"_s);
    const auto named = QRegularExpression(u"banco (\\S+)"_s).match(run.err);
    ASSERT_TRUE(named.hasMatch()) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(named.captured(1)));
}

TEST(LoadTool, OnPostgresqlItLoadsTheDemoIntoAPrivateClusterAndRunsTheSameLoad) {
    const ToolRun run =
        load({u"--engine"_s, u"postgresql"_s, u"--sessions"_s, u"2"_s, u"--calls"_s, u"30"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u) << run.out.toStdString();
    EXPECT_EQ(rows[0].cells[Engine], u"postgresql"_s);
    // Thirty calls reach past the first analysis, so every category's summary and detail was
    // checked for the demo's rows on this engine too.
    EXPECT_EQ(rows[0].integer(Made), 60);
    EXPECT_EQ(rows[0].cells[Errors], u"0"_s);
    EXPECT_TRUE(run.err.contains(u"banco postgresql://"_s)) << run.err.toStdString();
}

TEST(LoadTool, WithASessionsUrlTheServerItStartsKeepsItsSessionsThere) {
    PostgresCluster sessions;
    const std::string name = sessions.createDatabase();
    const ToolRun run = load({u"--database"_s, demoPath(), u"--sessions"_s, u"2"_s, u"--sessions"_s,
                              QString::fromStdString(sessions.url(name)), u"--calls"_s, u"30"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u) << run.out.toStdString();
    EXPECT_EQ(rows[0].integer(Made), 60);
    EXPECT_EQ(rows[0].cells[Errors], u"0"_s);
    // The server made its table there, and the sessions it was given were closed at the end.
    sessions.exec(name, "DO $$ BEGIN IF (SELECT count(*) FROM restcont_sessoes.sessao) <> 0 THEN "
                        "RAISE EXCEPTION 'sessions left'; END IF; END $$");
}

TEST(LoadTool, AServerThatCannotStartEndsWithStatusTwoAndNoTable) {
    const ToolRun run = load(
        {u"--database"_s, u"/nonexistent/restcont/demo.db"_s, u"--sessions"_s, u"1"_s, u"--calls"_s, u"5"_s});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.rows().empty()) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(u"restcont-server"_s)) << run.err.toStdString();
}

TEST(LoadTool, EmptyAnswersFromADatabaseWithoutTheDemoAreErrorsNotAClearRun) {
    // The server answers every call of an empty database with success and no rows; the demo's
    // service infringes everywhere, so that is wrong data, and the run must say so.
    TestDatabase empty;
    const ToolRun run = load({u"--database"_s, QString::fromStdString(empty.pathString()), u"--sessions"_s,
                              u"2"_s, u"--calls"_s, u"5"_s});
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u) << run.out.toStdString();
    EXPECT_EQ(rows[0].integer(Made), 10);
    EXPECT_GT(rows[0].integer(Errors), 0);
    EXPECT_TRUE(run.err.contains(u"sem linhas"_s)) << run.err.toStdString();
}

// A load tool started on a run it cannot finish; answers once `announced` shows in its standard
// error, with what it wrote so far.
struct Started {
    QString err;
    QRegularExpressionMatch match;
};

Started startUntil(QProcess& process, const QStringList& args, const QRegularExpression& announced) {
    process.start(loadBinary(), args);
    Started started;
    if (!process.waitForStarted())
        return started;
    QElapsedTimer clock;
    clock.start();
    while (!(started.match = announced.match(started.err)).hasMatch() && clock.elapsed() < 60000) {
        process.waitForReadyRead(1000);
        started.err += QString::fromUtf8(process.readAllStandardError());
    }
    return started;
}

// The calls answered before the server went away, never the budget of calls it did not make: the
// rate reads no more than those calls over the time the load surely lasted.
void expectOnlyAnsweredCalls(const ToolRun& run, double surelySeconds) {
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u) << "the run ends with the server: " << run.out.toStdString();
    const Row& row = rows[0];
    EXPECT_GT(row.integer(Errors), 0);
    EXPECT_LT(row.number(Made), 1'000'000) << "calls never made are not counted as made";
    EXPECT_LE(row.number(PerSecond) * surelySeconds, row.number(Made)) << run.out.toStdString();
    EXPECT_TRUE(run.err.contains(u"deixou de responder durante a carga com N=2; medida interrompida"_s))
        << run.err.toStdString();
}

TEST(LoadTool, AServerKilledUnderLoadEndsTheRunWithExitOneAndOnlyAnsweredCalls) {
    QProcess process;
    // A second configuration would start a fresh server and hide the first one's death.
    const Started started = startUntil(
        process, {u"--database"_s, demoPath(), u"--sessions"_s, u"2,4"_s, u"--calls"_s, u"10000000"_s},
        QRegularExpression(u"servidor pid (\\d+)"_s));
    ASSERT_TRUE(started.match.hasMatch()) << started.err.toStdString();
    // Let the calls get going, then take the server away without a word.
    process.waitForFinished(1500);
    ASSERT_EQ(::kill(static_cast<pid_t>(started.match.captured(1).toInt()), SIGKILL), 0);
    ToolRun run = finish(process, 60000);
    run.err.prepend(started.err);
    expectOnlyAnsweredCalls(run, 0.5);
    EXPECT_EQ(run.rows()[0].cells[Peak], u"?"_s);
    EXPECT_TRUE(run.err.contains(u"o servidor terminou durante a carga"_s)) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u"servidor pid"_s), 1) << run.err.toStdString();
}

ServerProcess::Options roomFor(int sessions) {
    ServerProcess::Options options;
    options.captureStderr = true;
    options.extraArgs = {"--threads", std::to_string(sessions + 8), "--max-sessions",
                         std::to_string(sessions + 8)};
    return options;
}

QString addressOf(const ServerProcess& server) {
    return QString::fromStdString(proto::formatHostPort(server.host(), server.port()));
}

TEST(LoadTool, ATargetIsMeasuredWithoutStartingAServerOrADatabase) {
    ServerProcess server(generatedDemo().string(), roomFor(2));
    const ToolRun run =
        load({u"--target"_s, addressOf(server), u"--sessions"_s, u"1,2"_s, u"--calls"_s, u"30"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 2u) << run.out.toStdString();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].cells[Engine], u"alvo"_s);
        // Past the first analysis: the demo's rows came from the server the test started.
        EXPECT_EQ(rows[i].integer(Made), 30 * static_cast<int>(i + 1));
        EXPECT_EQ(rows[i].cells[Errors], u"0"_s);
        EXPECT_EQ(rows[i].cells[Peak], u"?"_s);
    }
    EXPECT_FALSE(run.err.contains(u"servidor pid"_s)) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(u"banco "_s)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"servidor em %1"_s.arg(addressOf(server)))) << run.err.toStdString();
}

TEST(LoadTool, ATargetThatDiesEndsTheRunWithExitOneAndOnlyAnsweredCalls) {
    ServerProcess server(generatedDemo().string(), roomFor(2));
    QProcess process;
    const Started started = startUntil(
        process, {u"--target"_s, addressOf(server), u"--sessions"_s, u"2,4"_s, u"--calls"_s, u"10000000"_s},
        QRegularExpression(u"servidor em \\S+ para N=2"_s));
    ASSERT_TRUE(started.match.hasMatch()) << started.err.toStdString();
    process.waitForFinished(1500);
    ASSERT_EQ(::kill(server.pid(), SIGKILL), 0);
    ToolRun run = finish(process, 60000);
    run.err.prepend(started.err);
    expectOnlyAnsweredCalls(run, 0.5);
}

TEST(LoadTool, TargetsAreRefusedWhereTheyCannotMeanAnything) {
    for (const QStringList& args :
         {QStringList{u"--target"_s, u"127.0.0.1"_s}, QStringList{u"--target"_s, u"::1:60251"_s},
          QStringList{u"--target"_s, u"127.0.0.1:60251"_s, u"--rounds"_s, u"2"_s},
          QStringList{u"--target"_s, u"127.0.0.1:60251"_s, u"--database"_s, demoPath()}}) {
        const ToolRun refused = load(args);
        EXPECT_EQ(refused.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(refused.err.contains(u"--target"_s)) << refused.err.toStdString();
        EXPECT_TRUE(refused.rows().empty());
    }
}

TEST(BenchTool, ATargetIsMeasuredOverHttpOnlyAndItsHelpSaysSo) {
    ServerProcess server(generatedDemo().string(), roomFor(8));
    const ToolRun measured = runTool(benchBinary(), {u"--target"_s, addressOf(server), u"3"_s});
    ASSERT_EQ(measured.status, 0) << measured.err.toStdString() << measured.out.toStdString();
    EXPECT_TRUE(measured.out.contains(
        u"Server at %1, branch 0001, service 002; 23 calls per analysis"_s.arg(addressOf(server))))
        << measured.out.toStdString();
    EXPECT_TRUE(QRegularExpression(u"whole analysis +\\d+\\.\\d+"_s).match(measured.out).hasMatch());
    EXPECT_TRUE(measured.out.contains(u"8 concurrent clients over HTTP"_s));
    EXPECT_TRUE(measured.out.contains(u", 0 errors"_s)) << measured.out.toStdString();
    EXPECT_FALSE(measured.out.contains(u"in-process"_s)) << "no server of its own";

    const ToolRun help = runTool(benchBinary(), {u"--help"_s});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(u"nenhum servidor é iniciado aqui"_s)) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(u"--sessions URL"_s)) << help.out.toStdString();
    // Shared sessions are the business of the server started here, not of one measured elsewhere.
    const ToolRun both =
        runTool(benchBinary(), {u"--target"_s, addressOf(server), u"--sessions"_s, u"postgresql://h/s"_s});
    EXPECT_EQ(both.status, 2) << both.err.toStdString();
    server.stop();
    const ToolRun gone = runTool(benchBinary(), {u"--target"_s, addressOf(server), u"3"_s});
    EXPECT_EQ(gone.status, 1) << gone.out.toStdString();
    EXPECT_TRUE(gone.err.contains(u"sem resposta"_s)) << gone.err.toStdString();
}

// A secret file as an operator keeps one: readable by its owner alone, unless `open` says otherwise.
QString secretFile(const QTemporaryDir& folder, const QByteArray& secret, bool open = false) {
    const QString path = folder.filePath(u"segredo"_s);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(secret + "\n");
    file.close();
    file.setPermissions(open ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther
                             : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

struct ToolLine {
    const char* name;
    QString (*binary)();
    QStringList args; // after --target
};

// Every bench tool that measures a target, each with a run of a second or so.
std::vector<ToolLine> targetTools() {
    return {
        {"restcont-load", loadBinary, {u"--sessions"_s, u"2"_s, u"--calls"_s, u"30"_s}},
        {"restcont-bench", benchBinary, {u"3"_s}},
        {"restcont-crowd",
         crowdBinary,
         {u"--idle"_s, u"20"_s, u"--slow"_s, u"2"_s, u"--seconds"_s, u"1"_s, u"--call-timeout"_s, u"2"_s}}};
}

TEST(TargetTools, ATargetThatDemandsTheSecretIsRefusedClearlyWithoutItAndMeasuredWithIt) {
    ServerProcess::Options options = roomFor(8);
    options.secret = "segredo-da-medida";
    ServerProcess server(generatedDemo().string(), options);
    QTemporaryDir folder;
    const QString right = secretFile(folder, "segredo-da-medida");
    for (const ToolLine& tool : targetTools()) {
        SCOPED_TRACE(tool.name);
        const QStringList target{u"--target"_s, addressOf(server)};
        const ToolRun without = runTool(tool.binary(), target + tool.args);
        EXPECT_EQ(without.status, 1) << without.out.toStdString();
        EXPECT_TRUE(
            without.err.contains(u"HTTP 401 (o servidor exige um segredo: use --secret-file ARQUIVO)"_s))
            << without.err.toStdString();

        const ToolRun with =
            runTool(tool.binary(), target + QStringList{u"--secret-file"_s, right} + tool.args);
        EXPECT_EQ(with.status, 0) << with.err.toStdString() << with.out.toStdString();
        EXPECT_FALSE(with.err.contains(u"401"_s)) << with.err.toStdString();
    }
    // A wrong secret is told apart from a missing one.
    QTemporaryDir otherFolder;
    const ToolRun wrong = runTool(loadBinary(), {u"--target"_s, addressOf(server), u"--secret-file"_s,
                                                 secretFile(otherFolder, "outro"), u"--calls"_s, u"5"_s});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_TRUE(wrong.err.contains(u"o servidor recusou o segredo de --secret-file"_s))
        << wrong.err.toStdString();
}

TEST(TargetTools, ASecretFileOthersCanReadOrWithoutATargetIsACommandLineError) {
    QTemporaryDir folder;
    const QString readable = secretFile(folder, "segredo", true);
    QTemporaryDir privateFolder;
    const QString kept = secretFile(privateFolder, "segredo");
    for (const ToolLine& tool : targetTools()) {
        SCOPED_TRACE(tool.name);
        const ToolRun open =
            runTool(tool.binary(), {u"--target"_s, u"127.0.0.1:1"_s, u"--secret-file"_s, readable});
        EXPECT_EQ(open.status, 2);
        EXPECT_TRUE(open.err.contains(u"--secret-file: o arquivo do segredo"_s)) << open.err.toStdString();
        EXPECT_TRUE(open.err.contains(u"chmod 600"_s)) << open.err.toStdString();
        const ToolRun alone = runTool(tool.binary(), {u"--secret-file"_s, kept});
        EXPECT_EQ(alone.status, 2);
        EXPECT_TRUE(alone.err.contains(u"--secret-file só vale com --target"_s)) << alone.err.toStdString();
    }
}

TEST(CrowdTool, HoldsItsCrowdOpenOnTheServerItStartsAndTimesTheLegitimateClient) {
    const ToolRun run =
        runTool(crowdBinary(), {u"--database"_s, demoPath(), u"--idle"_s, u"30"_s, u"--slow"_s, u"3"_s,
                                u"--seconds"_s, u"1"_s, u"--byte-interval-ms"_s, u"100"_s});
    ASSERT_EQ(run.status, 0) << run.err.toStdString() << run.out.toStdString();
    const QRegularExpressionMatch row =
        QRegularExpression(u"^\\| 30/30 \\| 3/3 \\| \\d+ \\| [\\d.]+ \\| (\\d+) \\| 0 \\| ([\\d.]+) \\|"_s,
                           QRegularExpression::MultilineOption)
            .match(run.out);
    ASSERT_TRUE(row.hasMatch()) << run.out.toStdString();
    EXPECT_GT(row.captured(1).toInt(), 0);
    EXPECT_GT(row.captured(2).toDouble(), 0);
    EXPECT_TRUE(run.err.contains(u"servidor pid"_s)) << run.err.toStdString();
}

TEST(CrowdTool, AServerThatStallsEndsTheRunWithinItsTimeOutsAndExitOne) {
    // A stopped server: the system still completes its connections, but nothing answers. The
    // legitimate client waits out each call's time-out, never the library's thirty seconds, so the
    // run ends well inside the tool's time here.
    ServerProcess server(generatedDemo().string(), roomFor(1));
    ::kill(server.pid(), SIGSTOP);
    const ToolRun run = runTool(crowdBinary(),
                                {u"--target"_s, addressOf(server), u"--idle"_s, u"5"_s, u"--slow"_s, u"1"_s,
                                 u"--seconds"_s, u"1"_s, u"--call-timeout"_s, u"1"_s},
                                20000);
    ::kill(server.pid(), SIGCONT);
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"nenhuma chamada do cliente legítimo foi respondida"_s))
        << run.err.toStdString();
}

} // namespace
