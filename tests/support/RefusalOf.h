#pragma once

#include "host/core/Refusal.h"

#include <QString>

#include <gtest/gtest.h>

#include <functional>

// The message an action was refused with; a failure of the test when it was not refused.
inline QString refusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const host::Refusal& refusal) {
        return refusal.message();
    }
    ADD_FAILURE() << "no refusal";
    return {};
}
