#pragma once

#include "host/app/TShiftState.h"

#include <Qt>

class QKeyEvent;

namespace host {

// The key codes the screens' key handlers compare with.
namespace vk {
constexpr int Back = 8;
constexpr int Tab = 9;
constexpr int Return = 13;
constexpr int Shift = 16;
constexpr int Control = 17;
constexpr int Menu = 18;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Prior = 33;
constexpr int Next = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int F1 = 112;
} // namespace vk

// The virtual-key code of a Qt key event: letters and digits as their upper-case character, the
// keys above by their codes, F1 to F12 from 112; 0 for a key with no code.
int VirtualKeyOf(const QKeyEvent& event);
int VirtualKeyOf(int qtKey);
// Ctrl+Delete and no other modifier key (mouse buttons do not count): the key a grid must never
// take as "delete this row".
inline bool IsCtrlDelete(int key, TShiftState shift) {
    return key == vk::Delete && shift.Contains(TShift::ssCtrl) && !shift.Contains(TShift::ssShift) &&
           !shift.Contains(TShift::ssAlt);
}

// The modifiers and mouse buttons held; the numeric keypad's own modifier is not one of them.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);

} // namespace host
