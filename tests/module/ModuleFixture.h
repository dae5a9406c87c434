#pragma once

#include "GuiTestSupport.h"

#include "module/Cli_kdr60251.h"

#include <gtest/gtest.h>

// Each test starts from the module as loaded: no form, every variable at its load value, the main
// form on screen; a form left open is closed through its own close handling.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::vector<bool*> reloadFlags();
    GuiDialogSeam seam;
};
