#include "FaultyFront.h"
#include "ScreenFaultFixture.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <thread>

namespace {

QString at(int port) {
    return u"127.0.0.1:%1"_s.arg(port);
}

// The run for branch 0001, service 002, March 2026: every category infringes, so every summary
// loads rows and a detail call follows each.
TEST_F(ScreenFaults, AServerKilledInTheMiddleOfARunEndsItThereWithAClearError) {
    ServerProcess own(generatedDemo().string());
    useServer(own.port());
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    checkAll();
    // The weekly dish frequencies and their first row's days arrive; then the server dies.
    auto loadDetail = form->cdsFreqPratSem.AfterScroll;
    form->cdsFreqPratSem.AfterScroll = [&](TClientDataSet& set) {
        loadDetail(set);
        if (own.pid() > 0 && !set.IsEmpty())
            killNow(own);
    };
    pressVerify();

    ASSERT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    EXPECT_TRUE(errors()[0].contains(at(own.port()))) << errors()[0].toStdString();
    EXPECT_EQ(ShowAviDepth(), 0) << "the busy indicator is hidden";
    EXPECT_FALSE(form->cdsFreqPratSem.IsEmpty()) << "what arrived before stays";
    EXPECT_FALSE(form->cdsFreqPratSemDet.IsEmpty());
    EXPECT_TRUE(form->cdsFreqPratMes.IsEmpty());
    // Loaded, then the failing category and every one after it still to load; the week span came.
    EXPECT_EQ(flags(),
              (std::vector<bool>{false, true, true, true, true, true, true, true, true, true, true, false}));
}

TEST_F(ScreenFaults, CalculationWithTheServerKilledMidRunNeverReadsClear) {
    ServerProcess own(generatedDemo().string());
    useServer(own.port());
    // Service 003 is clear: had the run ended, the cell would read true and the form close.
    cell = true;
    form = launch(u"CALCULA"_s, u"003"_s, [&](TfrmAnalRestCont& created) {
        created.cdsDataSemana.AfterScroll = [&](TClientDataSet&) { killNow(own); };
    });
    ASSERT_NE(form, nullptr) << "a run that failed does not close the form";
    EXPECT_FALSE(cell);
    ASSERT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    EXPECT_TRUE(errors()[0].contains(at(own.port()))) << errors()[0].toStdString();
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_TRUE(seam.recorder().messages.empty()) << "no outcome is announced";
    EXPECT_TRUE(boFreqPratSem) << "the first category after the week span failed";
}

TEST_F(ScreenFaults, ASlowServerTimesOutNamingHostAndPortAndTheNextRunRecovers) {
    ServerProcess real(generatedDemo().string());
    FaultyFront front(real.port());
    useServer(front.port(), 400);
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    checkAll();
    front.delay("GetFreqPratMes", 1500);
    const auto started = std::chrono::steady_clock::now();
    pressVerify();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1200))
        << "the client gave up at its own time limit";

    ASSERT_EQ(errors().size(), 1);
    const QString message = errors()[0];
    EXPECT_TRUE(message.contains(at(front.port()))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"não respondeu em 0"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"4 segundo"_s)) << "seconds, not milliseconds: " << message.toStdString();
    EXPECT_TRUE(message.contains(u"GetFreqPratMes"_s)) << message.toStdString();
    EXPECT_EQ(ShowAviDepth(), 0);
    EXPECT_FALSE(boFreqPratSem);
    EXPECT_TRUE(boFreqPratMes);
    EXPECT_TRUE(boLimNutri);

    // The session survives a late answer: pressing again, once the server is quick, runs to its end.
    front.disarm();
    pressVerify();
    EXPECT_EQ(errors().size(), 1) << errors().join(u'\n').toStdString();
    for (bool flag : flags())
        EXPECT_FALSE(flag);
    EXPECT_FALSE(form->cdsLimNutri.IsEmpty());
    closeScreen();
}

// Answers that cannot be read. The week-span set keeps the span it had; a summary set, emptied
// before its call, stays empty instead of holding part of an answer, and its detail is not asked.
struct BadAnswer {
    const char* name;
    const char* method;
    FaultyFront::Fault fault;
    bool namesServer; // the transport layer refused it (else the record set did)
};

nlohmann::json realAnswer(const ScriptedServer::Answer& real) {
    return nlohmann::json::parse(real.body);
}

const BadAnswer kBadAnswers[] = {
    {"GarbageWeekSpan", "GetDataSemana",
     [](const ScriptedServer::Answer&) {
         return ScriptedServer::Answer{200, "<html>erro interno</html>"};
     },
     true},
    {"TruncatedWeekSpan", "GetDataSemana",
     [](const ScriptedServer::Answer& real) {
         return ScriptedServer::Answer{200, real.body.substr(0, real.body.size() / 2)};
     },
     true},
    {"WeekSpanWithAWrongValue", "GetDataSemana",
     [](const ScriptedServer::Answer& real) {
         auto answer = realAnswer(real);
         answer["result"]["packet"]["rows"][0][0] = "segunda-feira";
         return ScriptedServer::Answer{200, answer.dump()};
     },
     false},
    {"EmptyBodyForTheWeekSpan", "GetDataSemana",
     [](const ScriptedServer::Answer&) {
         return ScriptedServer::Answer{200, ""};
     },
     true},
    {"TruncatedSummary", "GetFreqPratSem",
     [](const ScriptedServer::Answer& real) {
         return ScriptedServer::Answer{200, real.body.substr(0, real.body.size() - 40)};
     },
     true},
    {"SummaryWithAShortLastRow", "GetFreqPratSem",
     [](const ScriptedServer::Answer& real) {
         auto answer = realAnswer(real);
         auto& rows = answer["result"]["packet"]["rows"];
         rows.back().erase(rows.back().size() - 1);
         return ScriptedServer::Answer{200, answer.dump()};
     },
     true},
};

class BadAnswerTest : public ScreenFaults, public ::testing::WithParamInterface<BadAnswer> {};

TEST_P(BadAnswerTest, IsAClearErrorAndNothingIsHalfLoaded) {
    ServerProcess real(generatedDemo().string());
    FaultyFront front(real.port());
    useServer(front.port());
    form = launch(u""_s, u"002"_s);
    ASSERT_NE(form, nullptr);
    form->chbFreqPrat->SetChecked(true);
    pressVerify();
    ASSERT_TRUE(errors().isEmpty()) << errors().join(u'\n').toStdString();
    const double weekStart = form->cdsDataSemana.FieldByName(u"DTPRIMEIRA"_s).AsDateTime();
    ASSERT_FALSE(form->cdsFreqPratSem.IsEmpty());

    front.arm(GetParam().method, GetParam().fault);
    const std::size_t before = front.methods().size();
    pressVerify();
    ASSERT_EQ(errors().size(), 1);
    const QString message = errors()[0];
    if (GetParam().namesServer) {
        EXPECT_TRUE(message.contains(u"Resposta inválida"_s)) << message.toStdString();
        EXPECT_TRUE(message.contains(at(front.port()))) << message.toStdString();
    } else {
        EXPECT_FALSE(message.isEmpty());
    }
    EXPECT_EQ(ShowAviDepth(), 0);
    const auto methods = front.methods();
    EXPECT_EQ(methods.back(), GetParam().method) << "the run ends at the bad answer";
    EXPECT_EQ(methods.size() - before, std::string(GetParam().method) == "GetDataSemana" ? 1u : 2u);

    ASSERT_EQ(form->cdsDataSemana.RecordCount(), 1) << "the week span is kept";
    EXPECT_EQ(form->cdsDataSemana.FieldByName(u"DTPRIMEIRA"_s).AsDateTime(), weekStart);
    if (std::string(GetParam().method) == "GetDataSemana") {
        EXPECT_TRUE(boDataSemana);
        EXPECT_FALSE(form->cdsFreqPratSem.IsEmpty()) << "the run never reached the summaries";
    } else {
        EXPECT_TRUE(form->cdsFreqPratSem.IsEmpty());
        EXPECT_TRUE(form->cdsFreqPratSemDet.IsEmpty());
        EXPECT_TRUE(boFreqPratSem);
    }
    closeScreen();
}

INSTANTIATE_TEST_SUITE_P(Answers, BadAnswerTest, ::testing::ValuesIn(kBadAnswers),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
