#include "server/RemoteDataModule.h"
#include "server/RpcHttpServer.h"
#include "server/ServerOptions.h"
#include "server/store/Database.h"
#include "server/store/DatabaseError.h"
#include "server/store/DatabaseProbe.h"
#include "server/store/SqliteDatabase.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <pthread.h>
#include <thread>

int main(int argc, char** argv) {
    server::stopSqliteAllocationCounting();
    server::ServerOptions options;
    try {
        options = server::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::cerr << "restcont-server: " << error.what() << "\n" << server::usageText();
        return 2;
    }
    if (options.help) {
        std::cout << server::usageText();
        return 0;
    }

    // Signals go to one waiting thread only; every thread started from here on inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    try {
        // A wrong path, a file that is not a database, an unreachable server or a database without
        // the tables stops the start, so the screen never reads "no infringement" from an empty one.
        server::probeDatabase(options.database);
    } catch (const server::DatabaseError& error) {
        std::cerr << "restcont-server: " << error.what() << "\n";
        return 1;
    }

    // Session writes beside the suite's tables move the log position the menu cache is checked
    // against: everything still answers right, only every analysis reads the menu afresh.
    if (options.sessions && server::sameCluster(options.database, *options.sessions))
        std::cerr << "restcont-server: aviso: as sessões estão no mesmo cluster PostgreSQL do banco do "
                     "sistema; cada gravação de sessão esvazia o cache do cardápio e as análises ficam mais "
                     "lentas. Use um banco de sessões em outro cluster.\n";

    // A flood of connections must find the listener able to accept, and answer it with 503.
    server::http::raiseOpenFileLimit();

    server::RemoteDataModule module(options.database);
    server::RpcHttpServer::Config config;
    config.secret = options.secret;
    config.sessionIdle = std::chrono::seconds(options.sessionIdleSeconds);
    config.maxSessions = options.maxSessions;
    config.sessionGrace = std::chrono::seconds(options.sessionGraceSeconds);
    config.maxSessionsPerAddress = options.sessionsPerAddress();
    config.trustedProxy = options.trustedProxy;
    config.sessionsUrl = options.sessions;
    config.threads = options.threads;
    config.transport.limits = {options.maxRequestLine, options.maxHeadBytes, options.maxHeaderFields,
                               options.maxBodyBytes};
    config.transport.requestTimeout = std::chrono::seconds(options.requestTimeoutSeconds);
    config.transport.idleTimeout = std::chrono::seconds(options.idleTimeoutSeconds);
    config.transport.maxRequestsPerConnection = options.maxRequestsPerConnection;
    config.transport.maxConnections = options.maxConnections;
    std::unique_ptr<server::RpcHttpServer> served;
    int port = 0;
    try {
        // Shared sessions whose database is out of reach at start stop the start, as the suite's do.
        served = std::make_unique<server::RpcHttpServer>(module, config);
        port = served->bind(options.host, options.port);
    } catch (const std::exception& error) {
        std::cerr << "restcont-server: " << error.what() << "\n";
        return 1;
    }
    server::RpcHttpServer& http = *served;

    std::atomic<bool> finished{false};
    std::thread stopper([&] {
        int received = 0;
        sigwait(&stopSignals, &received);
        // stop() is a no-op until the accept loop runs, so repeat it until the loop has ended.
        while (!finished) {
            http.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });

    std::cout << "listening on " << options.host << ":" << port << std::endl;
    http.run();
    finished = true;
    // Wake the signal thread if the loop ended for another reason.
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    std::cerr << "restcont-server: parado.\n";
    return 0;
}
