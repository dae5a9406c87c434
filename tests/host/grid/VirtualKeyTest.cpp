#include "host/grid/VirtualKey.h"

#include <gtest/gtest.h>

using namespace host;

TEST(VirtualKey, QtKeysMapToTheCodesTheHandlersCompare) {
    const struct {
        int qt;
        int code;
    } rows[] = {
        {Qt::Key_Space, 32},   {Qt::Key_Delete, 46},   {Qt::Key_Left, 37},   {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},   {Qt::Key_Down, 40},     {Qt::Key_Home, 36},   {Qt::Key_End, 35},
        {Qt::Key_PageUp, 33},  {Qt::Key_PageDown, 34}, {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
        {Qt::Key_Tab, 9},      {Qt::Key_Escape, 27},   {Qt::Key_Insert, 45}, {Qt::Key_A, 65},
        {Qt::Key_Z, 90},       {Qt::Key_0, 48},        {Qt::Key_F1, 112},    {Qt::Key_F12, 123},
        {Qt::Key_Control, 17}, {Qt::Key_unknown, 0},   {Qt::Key_Eacute, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(VirtualKeyOf(row.qt), row.code) << "Qt key 0x" << std::hex << row.qt;
}

TEST(VirtualKey, ShiftStateCarriesModifiersAndButtonsButNotTheKeypad) {
    EXPECT_TRUE(ShiftStateOf(Qt::NoModifier).Empty());
    EXPECT_EQ(ShiftStateOf(Qt::ControlModifier | Qt::KeypadModifier), TShiftState(TShift::ssCtrl));
    EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::AltModifier), TShift::ssShift | TShift::ssAlt);
    EXPECT_EQ(ShiftStateOf(Qt::NoModifier, Qt::LeftButton | Qt::RightButton),
              TShift::ssLeft | TShift::ssRight);
    EXPECT_EQ(ShiftStateOf(Qt::NoModifier, Qt::MiddleButton), TShiftState(TShift::ssMiddle));
}
