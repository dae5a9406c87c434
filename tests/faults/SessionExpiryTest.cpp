#include "ScreenFaultFixture.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace {

// Lines of the server's request log that start with the prefix.
int logged(const ServerProcess& server, const std::string& prefix) {
    std::istringstream lines(server.stderrText());
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

// The server logs a request once it has answered it.
void settle(const ServerProcess& server) {
    std::string log = server.stderrText();
    for (int quiet = 0, round = 0; quiet < 3 && round < 100; ++round) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::string now = server.stderrText();
        quiet = now == log ? quiet + 1 : 0;
        log = std::move(now);
    }
}

class SessionExpiry : public ScreenFaults {
protected:
    static ServerProcess::Options idleAfterOneSecond() {
        ServerProcess::Options options;
        options.captureStderr = true;
        options.extraArgs = {"--session-idle", "1"};
        return options;
    }
};

TEST_F(SessionExpiry, TellsTheUserToReopenTheScreenAndNeverReconnectsBehindHisBack) {
    ServerProcess server(generatedDemo().string(), idleAfterOneSecond());
    useServer(server.port());
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    checkAll();
    // The user leaves the screen alone past the server's idle limit.
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    settle(server);
    const int callsBefore = logged(server, "POST /rpc");
    pressVerify();

    ASSERT_EQ(errors().size(), 1);
    const QString message = errors()[0];
    EXPECT_TRUE(message.contains(u"sessão"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"Feche esta tela e abra-a novamente"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"127.0.0.1:%1"_s.arg(server.port()))) << message.toStdString();
    EXPECT_FALSE(form->netAnalRestCont.Connected());
    EXPECT_EQ(ShowAviDepth(), 0);
    for (bool flag : flags())
        EXPECT_TRUE(flag);

    // Pressing again asks the server nothing: the screen says what to do instead.
    pressVerify();
    ASSERT_EQ(errors().size(), 2);
    EXPECT_TRUE(errors()[1].contains(u"Feche esta tela e abra-a novamente"_s)) << errors()[1].toStdString();
    settle(server);
    EXPECT_EQ(logged(server, "POST /rpc"), callsBefore + 1) << "only the call that met the expiry";
    EXPECT_EQ(logged(server, "POST /session"), 1) << "no session was opened behind the user's back";

    // Reopening the screen is the way back.
    form->Close();
    GuiDrain();
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    checkAll();
    pressVerify();
    EXPECT_EQ(errors().size(), 2) << errors().join(u'\n').toStdString();
    EXPECT_FALSE(form->cdsLimNutri.IsEmpty());
    closeScreen();
}

} // namespace
