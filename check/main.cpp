// restcont-check: which branches and services break their contracts in a month, why, what changed
// since an earlier run, and whether the data can be trusted.
#include "check/CheckRun.h"
#include "server/store/SqliteDatabase.h"

#include <QCoreApplication>

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    server::stopSqliteAllocationCounting();
    QCoreApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const check::CheckOptions options = check::parseCheckOptions(args);
        if (options.help) {
            std::cout << check::checkUsage();
            return check::kAllClear;
        }
        const check::Terminal terminal{isatty(STDOUT_FILENO) == 1, isatty(STDERR_FILENO) == 1};
        return check::runCheck(options, std::cout, std::cerr, terminal);
    } catch (const std::exception& error) {
        std::cerr << "restcont-check: " << error.what() << "\n";
        return check::kNotJudged;
    }
}
