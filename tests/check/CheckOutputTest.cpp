// What the check writes and answers: the comparison with a baseline, the CSV read back, the HTML in
// a real browser, and the exit statuses of the binary.
#include "CheckTestSupport.h"
#include "ContractMenus.h"
#include "ServerProcess.h"
#include "TestDatabase.h"

#include <QImage>
#include <QProcess>
#include <QStringList>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace Qt::StringLiterals;
using nlohmann::json;

std::vector<std::string> monthArgs(const std::string& database, const char* format) {
    return {"--database", database, "--month", "2026-03", "--format", format, "--jobs", "2"};
}

const json* findService(const json& output, const std::string& service) {
    for (const json& each : output.at("services"))
        if (each.at("service") == service)
            return &each;
    return nullptr;
}

TEST(CheckBaseline, MarksNewAndStillAndListsTheFixed) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + infringingServiceSql("S1", "Um", {1, 2}) +
            infringingServiceSql("S2", "Dois", {8}));
    const CheckOutcome before = runInProcess(monthArgs(db.url(), "json"));
    ASSERT_EQ(before.status, check::kBlocked) << before.err;
    TempFile baseline("antes.json", before.out);

    // The planner drops the weekly limit and a product becomes forbidden.
    db.exec("UPDATE CTRFREQPRAT SET NRMAXSEM = NULL WHERE CDSERVFILI = 'S1';"
            "INSERT INTO CTRRESTPROD VALUES ('0001', 'S1', 'x1y2z3');");
    std::vector<std::string> args = monthArgs(db.url(), "json");
    args.insert(args.end(), {"--baseline", baseline.string(), "--branch", "0001"});
    const CheckOutcome after = runInProcess(args);
    ASSERT_EQ(after.status, check::kBlocked) << after.err;
    const json output = after.json();
    const json& s1 = *findService(output, "S1");
    EXPECT_EQ(s1.at("infringed"), json({"GetFreqPratMes", "GetRestProd"}));
    EXPECT_EQ(s1.at("categories").at("GetFreqPratMes").at(0).at("change"), "still");
    EXPECT_EQ(s1.at("categories").at("GetRestProd").at(0).at("change"), "new");
    EXPECT_EQ(findService(output, "S2")->at("categories").at("GetLimNutri").at(0).at("change"), "still");
    const json& compare = output.at("compare");
    EXPECT_EQ(compare.at("new"), 1);
    EXPECT_EQ(compare.at("still"), 2);
    EXPECT_EQ(compare.at("fixed"), 1);
    ASSERT_EQ(compare.at("fixed_rows").size(), 1u);
    EXPECT_EQ(compare.at("fixed_rows").at(0).at("category"), "GetFreqPratSem");
    EXPECT_EQ(compare.at("fixed_rows").at(0).at("service"), "S1");

    // A service left out of this run fixes nothing.
    args = monthArgs(db.url(), "json");
    args.insert(args.end(), {"--baseline", baseline.string(), "--service", "S1"});
    EXPECT_EQ(runInProcess(args).json().at("compare").at("fixed"), 1);
}

TEST(CheckBaseline, RefusesAnotherMonthAndWhatIsNoOutput) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + infringingServiceSql("S1", "Um", {1}));
    std::vector<std::string> april = monthArgs(db.url(), "json");
    april[3] = "2026-04";
    TempFile other("abril.json", runInProcess(april).out);
    TempFile garbage("lixo.json", "{\"month\": \"2026-03\", \"services\": 7}");
    TempFile deep("fundo.json", std::string(100000, '['));
    for (const TempFile* file : {&other, &garbage, &deep}) {
        std::vector<std::string> args = monthArgs(db.url(), "json");
        args.insert(args.end(), {"--baseline", file->string()});
        const CheckOutcome refused = runInProcess(args);
        EXPECT_EQ(refused.status, check::kNotJudged) << file->string();
        EXPECT_THAT(refused.err, ::testing::HasSubstr("--baseline")) << file->string();
        EXPECT_TRUE(refused.out.empty()) << "nothing judged before the baseline is read";
    }
}

// RFC 4180 with ';': quoted fields may hold the separator, doubled quotes and line breaks.
std::vector<std::vector<std::string>> readCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& cell = rows.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                cell += text[++i];
            else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ';') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            if (i + 1 < text.size())
                rows.emplace_back(1);
        } else {
            cell += c;
        }
    }
    return rows;
}

TEST(CheckCsv, ReadsBackAsColumnsOfABrazilianSpreadsheet) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + limitServiceSql("L1") +
            infringingServiceSql("S1", "Almoço; \"especial\"", {}));
    const CheckOutcome csv = runInProcess(monthArgs(db.url(), "csv"));
    ASSERT_EQ(csv.status, check::kBlocked) << csv.err;
    ASSERT_EQ(csv.out.rfind("\xEF\xBB\xBF", 0), 0u) << "UTF-8 with BOM";
    const auto rows = readCsv(csv.out.substr(3));
    ASSERT_GE(rows.size(), 2u);
    const std::vector<std::string>& header = rows.at(0);
    for (const auto& row : rows)
        ASSERT_EQ(row.size(), header.size());
    const auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    // L1 has two rows in each of its three limit categories: one line each; S1 one line.
    ASSERT_EQ(rows.size(), 1u + 6u + 1u);
    const std::vector<std::string>* nutrient = nullptr;
    for (const auto& row : rows)
        if (row.at(column("Categoria")) == "Limite de Nutrientes por Serviço" &&
            row.at(column("Código")) == "N1")
            nutrient = &row;
    ASSERT_NE(nutrient, nullptr);
    EXPECT_EQ(nutrient->at(column("Veredito")), "bloqueado");
    EXPECT_EQ(nutrient->at(column("Quantidade")), "2");
    EXPECT_EQ(nutrient->at(column("Mínimo")), "1");
    EXPECT_EQ(nutrient->at(column("Máximo")), "5");
    EXPECT_EQ(nutrient->at(column("Dias")), "02/03/2026, 04/03/2026");
    const auto& clear = rows.back();
    EXPECT_EQ(clear.at(column("Nome")), "Almoço; \"especial\"");
    EXPECT_EQ(clear.at(column("Veredito")), "livre");
    EXPECT_EQ(clear.at(column("Categoria")), "");
}

TEST(CheckCsv, WritesDecimalCommasWithoutGrouping) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + limitServiceSql("L1") +
            "UPDATE CTRLIMNUTR SET QTMINLIMNUTR = 1234.5 WHERE CDNUTRIENTE = 'N1';");
    const auto rows = readCsv(runInProcess(monthArgs(db.url(), "csv")).out.substr(3));
    bool seen = false;
    for (const auto& row : rows)
        seen = seen || std::find(row.begin(), row.end(), "1234,5") != row.end();
    EXPECT_TRUE(seen);
}

// A name written to the suite's database by anyone reaches the supervisor's spreadsheet: it must
// arrive as the text it is, never as a formula the spreadsheet runs.
TEST(CheckCsv, NamesThatLookLikeFormulasArriveAsText) {
    TestDatabase db;
    const std::vector<std::string> names{"=HIPERLINK(\"http://x\";\"y\")", "+1", "-2", "@SOMA(A1)"};
    std::string sql = contractCatalogueSql();
    for (std::size_t i = 0; i < names.size(); ++i)
        sql += infringingServiceSql("S" + std::to_string(i + 1), names[i], {});
    db.exec(sql);
    const auto rows = readCsv(runInProcess(monthArgs(db.url(), "csv")).out.substr(3));
    ASSERT_EQ(rows.size(), 1 + names.size());
    const std::size_t name = static_cast<std::size_t>(
        std::find(rows.at(0).begin(), rows.at(0).end(), "Nome") - rows.at(0).begin());
    std::vector<std::string> written;
    for (std::size_t i = 1; i < rows.size(); ++i)
        written.push_back(rows.at(i).at(name));
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written,
              (std::vector<std::string>{"'+1", "'-2", "'=HIPERLINK(\"http://x\";\"y\")", "'@SOMA(A1)"}));
}

TEST(CheckHtml, LoadsInAHeadlessBrowserWithTheGridFirst) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + infringingServiceSql("S1", "Um", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) +
            infringingServiceSql("S2", "Dois <b>&</b>", {}) + limitServiceSql("L1"));
    TempFile page("verificacao.html");
    std::vector<std::string> args = monthArgs(db.url(), "html");
    args.insert(args.end(), {"--out", page.string()});
    ASSERT_EQ(runInProcess(args).status, check::kBlocked);
    const std::string html = page.read();
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http"), std::string::npos) << "no outside assets";
    EXPECT_NE(html.find("Dois &lt;b&gt;&amp;&lt;/b&gt;"), std::string::npos);
    EXPECT_LT(html.find("class=\"grade\""), html.find("<h2>Motivos"));

    TempFile shot("tela.png");
    TempFile profile("perfil");
    std::filesystem::create_directories(profile.path());
    QProcess chromium;
    chromium.start(u"/usr/bin/chromium"_s,
                   {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s, u"--disable-dev-shm-usage"_s,
                    u"--enable-logging=stderr"_s, u"--hide-scrollbars"_s, u"--window-size=1200,900"_s,
                    QString::fromStdString("--user-data-dir=" + profile.string()),
                    QString::fromStdString("--screenshot=" + shot.string()),
                    QString::fromStdString("file://" + page.string())});
    ASSERT_TRUE(chromium.waitForFinished(testTimeoutSeconds() * 1000)) << "chromium did not finish";
    const std::string log = chromium.readAllStandardError().toStdString();
    EXPECT_EQ(log.find(":CONSOLE"), std::string::npos) << log;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(shot.string()))) << log;
    // The clear cells' green and the darkest red of a category with many rows are on the picture.
    int green = 0, red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            green += pixel == qRgb(0x2f, 0xa8, 0x4f);
            red += pixel == qRgb(0xf3, 0xa0, 0xa0);
        }
    EXPECT_GT(green, 11 * 100) << "a row of clear cells";
    EXPECT_GT(red, 11 * 100) << "a row of cells with one infringement each";
}

struct ExitCase {
    const char* name;
    std::string rows;
    std::vector<std::string> extra;
    int status;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckExit : public ::testing::TestWithParam<ExitCase> {};

TEST_P(CheckExit, AnswersTheStatusOfWhatItFound) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + fullMonthServiceSql("M1") + GetParam().rows);
    std::vector<std::string> args = monthArgs(db.url(), "text");
    args.insert(args.end(), GetParam().extra.begin(), GetParam().extra.end());
    const CheckOutcome run = runBinary(args);
    EXPECT_EQ(run.status, GetParam().status) << run.out << run.err;
    EXPECT_EQ(run.out.find('\033'), std::string::npos) << "no colours off a terminal";
    EXPECT_EQ(run.err.find("serviços; faltam"), std::string::npos) << "no progress line off a terminal";
}

const std::string kWarned = "INSERT INTO CTRLIMNUTR VALUES ('0001', 'M1', 'N2', NULL, 5);";
const std::string kContradicted = "INSERT INTO CTRLIMNUTR VALUES ('0001', 'M1', 'N2', 20, 15);";

INSTANTIATE_TEST_SUITE_P(
    Check, CheckExit,
    ::testing::Values(ExitCase{"clear", "", {}, 0},
                      ExitCase{"blocked", infringingServiceSql("S1", "Um", {8}), {}, 1},
                      ExitCase{"warningsWithoutStrict", kWarned, {}, 0},
                      ExitCase{"warningsWithStrict", kWarned, {"--strict"}, 1},
                      // N2 has no value on any day, so its impossible range blocks nothing.
                      ExitCase{"contradictionNotAskedFor", kContradicted, {}, 0},
                      ExitCase{"contradictionAskedFor", kContradicted, {"--contracts"}, 1},
                      ExitCase{"badOption", "", {"--jobs", "0"}, 2},
                      ExitCase{"unknownBranch", "", {"--branch", "9999"}, 2},
                      ExitCase{"badMonth", "", {"--month", "2026-13"}, 2},
                      ExitCase{"serverGone", "", {"--server", "127.0.0.1:1"}, 2}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CheckTerminal, ColoursTheVerdictsAndShowsProgressOnATerminal) {
    TestDatabase db;
    db.exec(contractCatalogueSql() + infringingServiceSql("S1", "Um", {8}) +
            infringingServiceSql("S2", "Dois", {}));
    const char* binaryDir = std::getenv("RESTCONT_BINARY_DIR");
    const std::string command = std::string(binaryDir ? binaryDir : RESTCONT_BINARY_DIR_DEFAULT) +
                                "/bin/restcont-check --database " + db.url() + " --month 2026-03";
    // script(1) gives the check a terminal for standard output and standard error.
    QProcess terminal;
    terminal.start(u"script"_s, {u"-qec"_s, QString::fromStdString(command), u"/dev/null"_s});
    ASSERT_TRUE(terminal.waitForFinished(testTimeoutSeconds() * 1000));
    const std::string seen = terminal.readAllStandardOutput().toStdString();
    EXPECT_NE(seen.find("\033[31mbloqueado\033[0m"), std::string::npos) << seen;
    EXPECT_NE(seen.find("\033[32mlivre\033[0m"), std::string::npos) << seen;
    EXPECT_NE(seen.find("2 de 2 serviços"), std::string::npos) << seen;
}

TEST(CheckExitDatabase, AMissingDatabaseIsNotJudged) {
    const CheckOutcome run = runBinary({"--database", "/nonexistent/restcont.db", "--month", "2026-03"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(run.err.empty());
}

} // namespace
