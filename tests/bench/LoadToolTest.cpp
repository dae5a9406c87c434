#include "GeneratedDemo.h"
#include "TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QString loadBinary() {
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    return QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT)).filePath(u"bin/restcont-load"_s);
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
            if (!line.startsWith(u"| sqlite |"_s) && !line.startsWith(u"| postgresql |"_s))
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

ToolRun load(const QStringList& args, int timeoutMs = 120000) {
    QProcess process;
    process.start(loadBinary(), args);
    if (!process.waitForStarted())
        return {};
    return finish(process, timeoutMs);
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

TEST(LoadTool, AServerKilledUnderLoadIsReportedAsErrorsAndExitOne) {
    QProcess process;
    process.start(loadBinary(),
                  {u"--database"_s, demoPath(), u"--sessions"_s, u"2"_s, u"--calls"_s, u"10000000"_s});
    ASSERT_TRUE(process.waitForStarted());
    QString err;
    QElapsedTimer clock;
    clock.start();
    const QRegularExpression announced(u"servidor pid (\\d+)"_s);
    QRegularExpressionMatch match;
    while (!(match = announced.match(err)).hasMatch() && clock.elapsed() < 60000) {
        process.waitForReadyRead(1000);
        err += QString::fromUtf8(process.readAllStandardError());
    }
    ASSERT_TRUE(match.hasMatch()) << err.toStdString();
    // Let the calls get going, then take the server away without a word.
    process.waitForFinished(500);
    ASSERT_EQ(::kill(static_cast<pid_t>(match.captured(1).toInt()), SIGKILL), 0);
    ToolRun run = finish(process, 60000);
    run.err.prepend(err);
    EXPECT_EQ(run.status, 1) << run.err.toStdString();
    const auto rows = run.rows();
    ASSERT_EQ(rows.size(), 1u) << run.out.toStdString();
    EXPECT_GT(rows[0].integer(Errors), 0);
    EXPECT_EQ(rows[0].cells[Peak], u"?"_s);
    EXPECT_TRUE(run.err.contains(u"o servidor terminou durante a carga"_s)) << run.err.toStdString();
}

} // namespace
