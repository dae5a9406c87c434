#pragma once

#include "GeneratedDemo.h"
#include "ScreenServerFixture.h"

// The screen end to end over the demo database.
class AnalysisScreenTest : public ScreenServerTest {
protected:
    static void SetUpTestSuite() { startServer(generatedDemo().string(), "DEMO"); }
};
