#include "ServerProcess.h"
#include "TestDatabase.h"
#include "server/RemoteDataModule.h"
#include "server/RpcHttpServer.h"
#include "server/ServerOptions.h"
#include "server/sessions/ClientAddress.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <thread>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

server::ServerOptions parse(std::vector<std::string> args) {
    args.insert(args.begin(), {"--database", "x.db"});
    return server::parseOptions(args);
}

std::string refusalOf(const std::vector<std::string>& args) {
    try {
        parse(args);
    } catch (const std::invalid_argument& error) {
        return error.what();
    }
    return {};
}

class SecretFile {
public:
    explicit SecretFile(fs::perms perms, const std::string& text = "segredo\n")
        : path_(fs::temp_directory_path() / ("restcont-secret-" + std::to_string(::getpid()))) {
        std::ofstream(path_) << text;
        fs::permissions(path_, perms);
    }
    ~SecretFile() { fs::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    fs::path path_;
};

constexpr auto kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

} // namespace

TEST(ListenAddress, OnlyLoopbackMayGoWithoutASecret) {
    for (const char* host : {"127.0.0.1", "127.4.5.6", "::1", "[::1]", "localhost"})
        EXPECT_EQ(refusalOf({"--listen", std::string(host) + ":0"}), "") << host;
    for (const char* host : {"0.0.0.0", "192.168.0.10", "::", "[::]", "servidor.exemplo", "128.0.0.1"}) {
        const std::string refusal = refusalOf({"--listen", std::string(host) + ":0"});
        EXPECT_NE(refusal.find("sem --secret-file"), std::string::npos) << host << ": " << refusal;
    }
    const SecretFile secret(kOwnerOnly);
    EXPECT_EQ(refusalOf({"--listen", "0.0.0.0:0", "--secret-file", secret.path()}), "");
    EXPECT_EQ(*parse({"--listen", "0.0.0.0:0", "--secret-file", secret.path()}).secret, "segredo");
}

TEST(ListenAddress, TheBinaryRefusesToStartOffLoopbackWithoutASecret) {
    TestDatabase db;
    const auto outcome = ServerProcess::runToEnd({"--database", db.pathString(), "--listen", "0.0.0.0:0"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errors.find("0.0.0.0"), std::string::npos) << outcome.errors;
}

TEST(SecretFile, ReadableByOthersIsRefused) {
    for (const auto others : {fs::perms::others_read, fs::perms::others_write}) {
        const SecretFile secret(kOwnerOnly | others);
        const std::string refusal = refusalOf({"--secret-file", secret.path()});
        EXPECT_NE(refusal.find("chmod 600"), std::string::npos) << refusal;
    }
    const SecretFile ownerAndGroup(kOwnerOnly | fs::perms::group_read);
    EXPECT_EQ(refusalOf({"--secret-file", ownerAndGroup.path()}), "");
}

TEST(SecretFile, NoLongerThanASecretCanBeIsReadWhole) {
    const SecretFile atTheBound(kOwnerOnly, std::string(4096, 's'));
    EXPECT_EQ(parse({"--secret-file", atTheBound.path()}).secret->size(), 4096u);
    const SecretFile beyond(kOwnerOnly, std::string(4097, 's'));
    EXPECT_NE(refusalOf({"--secret-file", beyond.path()}).find("passa de 4096 bytes"), std::string::npos);
    const SecretFile blank(kOwnerOnly, " \n\t\n");
    EXPECT_NE(refusalOf({"--secret-file", blank.path()}).find("vazio"), std::string::npos);
}

TEST(Secret, NothingButTheWholeSecretOpensASession) {
    TestDatabase db;
    ServerProcess::Options options;
    options.secret = "abc123";
    ServerProcess process(db.pathString(), options);
    const auto statusWith = [&](const std::optional<std::string>& bearer) {
        httplib::Client client(process.host(), process.port());
        if (bearer)
            client.set_bearer_token_auth(*bearer);
        const auto answer =
            client.Post("/session", R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
        return answer ? answer->status : -1;
    };
    EXPECT_EQ(statusWith("abc123"), 200);
    // Wrong in the last character, a prefix, the secret repeated, the secret with more after it.
    for (const char* wrong : {"abc124", "abc", "abc123abc123", "abc1234", ""})
        EXPECT_EQ(statusWith(std::string(wrong)), 401) << wrong;
    EXPECT_EQ(statusWith(std::nullopt), 401);
}

TEST(SessionTokens, AreLongRandomAndKeptOutOfTheLog) {
    TestDatabase db;
    ServerProcess::Options options;
    options.captureStderr = true;
    ServerProcess process(db.pathString(), options);
    httplib::Client client(process.host(), process.port());
    std::set<std::string> tokens;
    for (int i = 0; i < 20; ++i) {
        const auto opened =
            client.Post("/session", R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
        ASSERT_TRUE(opened);
        ASSERT_EQ(opened->status, 200);
        const std::string token = json::parse(opened->body).at("session");
        // At least 128 bits written in hex.
        EXPECT_GE(token.size(), 32u);
        EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos) << token;
        tokens.insert(token);
        ASSERT_TRUE(client.Delete("/session/" + token));
    }
    EXPECT_EQ(tokens.size(), 20u);
    process.stop();
    const std::string log = process.stderrText();
    EXPECT_NE(log.find("DELETE /session/"), std::string::npos) << log;
    for (const std::string& token : tokens)
        EXPECT_EQ(log.find(token), std::string::npos) << log;
}

TEST(ListenAddress, IPv6LiteralsInBracketsAreServedOnLoopback) {
    for (const char* listen : {"[::1]:0", "[::1]:60251"}) {
        const auto options = parse({"--listen", listen});
        EXPECT_EQ(options.host, "[::1]") << listen;
    }
    // [::] is every interface: the secret is required as for 0.0.0.0.
    EXPECT_NE(refusalOf({"--listen", "[::]:60251"}).find("sem --secret-file"), std::string::npos);
    EXPECT_NE(refusalOf({"--listen", "[]:1"}).find("inválido"), std::string::npos);

    TestDatabase db;
    server::RemoteDataModule module(db.pathString());
    auto config = server::RpcHttpServer::Config{};
    config.log = false;
    server::RpcHttpServer http(module, config);
    const int port = http.bind("[::1]", 0);
    std::thread serving([&] { http.run(); });
    httplib::Client client("::1", port);
    const auto opened =
        client.Post("/session", R"({"server":"KDR60251.rdmAnalRestCont"})", "application/json");
    http.stop();
    serving.join();
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->status, 200);
}

TEST(ClientAddresses, SessionsAreCountedPerAddressAndIPv6PerNetwork) {
    struct Case {
        const char* address;
        const char* group;
    };
    for (const Case& c : std::vector<Case>{{"127.0.0.2", "127.0.0.2"},
                                           {"::ffff:10.1.2.3", "10.1.2.3"},
                                           {"2001:db8:1:2:aaaa::1", "2001:db8:1:2::/64"},
                                           {"2001:db8:1:2:ffff:ffff:ffff:ffff", "2001:db8:1:2::/64"},
                                           {"2001:db8:1:3::1", "2001:db8:1:3::/64"}})
        EXPECT_EQ(server::addressGroup(c.address), c.group) << c.address;
    const std::optional<std::string> proxy = "::ffff:127.0.0.2";
    const std::string forwarded = "10.9.9.9, 10.0.0.5";
    EXPECT_EQ(server::clientAddress("127.0.0.2", &forwarded, proxy), "10.0.0.5");
    EXPECT_EQ(server::clientAddress("127.0.0.3", &forwarded, proxy), "127.0.0.3");
    EXPECT_EQ(server::clientAddress("127.0.0.2", nullptr, proxy), "127.0.0.2");
    const std::string garbage = "10.0.0.5, não-é-endereço";
    EXPECT_EQ(server::clientAddress("127.0.0.2", &garbage, proxy), "127.0.0.2");
}

TEST(Usage, SaysWhatTheThreadsAndEveryLimitAre) {
    const std::string usage = server::usageText();
    for (const char* option : {"--threads", "--max-connections", "--request-timeout", "--idle-timeout",
                               "--max-requests-per-connection", "--max-body-bytes", "--max-head-bytes",
                               "--max-header-fields", "--max-request-line", "--session-grace",
                               "--max-sessions-per-address", "--trusted-proxy", "--sessions"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    EXPECT_NE(usage.find("não ocupam nenhuma"), std::string::npos);
    EXPECT_EQ(parse({}).sessionsPerAddress(), 0u);
    EXPECT_EQ(parse({"--max-sessions-per-address", "3"}).sessionsPerAddress(), 3u);
}
