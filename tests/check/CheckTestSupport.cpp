#include "CheckTestSupport.h"

#include <QProcess>
#include <QStringList>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

CheckOutcome runInProcess(const std::vector<std::string>& args) {
    CheckOutcome outcome;
    std::ostringstream out, err;
    try {
        outcome.status = check::runCheck(check::parseCheckOptions(args), out, err, check::Terminal{});
    } catch (const std::exception& error) {
        err << error.what();
        outcome.status = check::kNotJudged;
    }
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

int testTimeoutSeconds() {
    const char* text = std::getenv("RESTCONT_TEST_TIMEOUT_S");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 120;
}

CheckOutcome runBinary(const std::vector<std::string>& args) {
    const char* binaryDir = std::getenv("RESTCONT_BINARY_DIR");
    const std::string program =
        std::string(binaryDir ? binaryDir : RESTCONT_BINARY_DIR_DEFAULT) + "/bin/restcont-check";
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    QProcess process;
    process.start(QString::fromStdString(program), arguments);
    CheckOutcome outcome;
    if (!process.waitForFinished(testTimeoutSeconds() * 1000)) {
        process.kill();
        process.waitForFinished();
        outcome.err = "restcont-check did not finish";
        return outcome;
    }
    outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.out = process.readAllStandardOutput().toStdString();
    outcome.err = process.readAllStandardError().toStdString();
    return outcome;
}

std::string fullMonthServiceSql(const std::string& service) {
    const std::string key = "'0001', '" + service + "'";
    std::string sql = "INSERT INTO SERVFILI VALUES (" + key + ", 'Mês inteiro');";
    for (int day = 1; day <= 31; ++day) {
        const std::string date = std::string("'2026-03-") + (day < 10 ? "0" : "") + std::to_string(day) + "'";
        sql += "INSERT INTO CARDAPIO VALUES (" + key + ", " + date + ", 1, 'abc123', 'PP', 'N', 1);";
        sql += "INSERT INTO PRODCARD VALUES (" + key + ", " + date + ", 1, 'x1y2z3', 2);";
        sql += "INSERT INTO NUTRCARD VALUES (" + key + ", " + date + ", 'N1', 10);";
    }
    return sql;
}

TempFile::TempFile(const std::string& name, const std::string& text) {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("restcont-check-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder_);
    path_ = folder_ / name;
    if (!text.empty())
        std::ofstream(path_, std::ios::binary) << text;
}

TempFile::~TempFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TempFile::read() const {
    std::ifstream file(path_, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
