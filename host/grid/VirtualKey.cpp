#include "host/grid/VirtualKey.h"

#include <QKeyEvent>

#include <utility>

namespace host {

namespace {

constexpr std::pair<int, int> kNamedKeys[] = {
    {Qt::Key_Backspace, vk::Back},  {Qt::Key_Tab, vk::Tab},       {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Return, vk::Return},   {Qt::Key_Enter, vk::Return},  {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control}, {Qt::Key_Alt, vk::Menu},      {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Space, vk::Space},     {Qt::Key_PageUp, vk::Prior},  {Qt::Key_PageDown, vk::Next},
    {Qt::Key_End, vk::End},         {Qt::Key_Home, vk::Home},     {Qt::Key_Left, vk::Left},
    {Qt::Key_Up, vk::Up},           {Qt::Key_Right, vk::Right},   {Qt::Key_Down, vk::Down},
    {Qt::Key_Insert, vk::Insert},   {Qt::Key_Delete, vk::Delete},
};

} // namespace

int VirtualKeyOf(int qtKey) {
    for (const auto& [qt, code] : kNamedKeys) {
        if (qt == qtKey)
            return code;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // the same codes as their upper-case characters
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return vk::F1 + (qtKey - Qt::Key_F1);
    return 0;
}

int VirtualKeyOf(const QKeyEvent& event) {
    return VirtualKeyOf(event.key());
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState state;
    if (modifiers & Qt::ShiftModifier)
        state = state | TShift::ssShift;
    if (modifiers & Qt::AltModifier)
        state = state | TShift::ssAlt;
    if (modifiers & Qt::ControlModifier)
        state = state | TShift::ssCtrl;
    if (buttons & Qt::LeftButton)
        state = state | TShift::ssLeft;
    if (buttons & Qt::RightButton)
        state = state | TShift::ssRight;
    if (buttons & Qt::MiddleButton)
        state = state | TShift::ssMiddle;
    return state;
}

} // namespace host
