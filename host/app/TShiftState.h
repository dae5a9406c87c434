#pragma once

namespace host {

// The modifier keys and mouse buttons held while a key event happens, as a key handler receives
// them. "Exactly Ctrl" and "Ctrl among others" are different questions, so both can be asked.
enum class TShift : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(TShift shift) : bits_(static_cast<unsigned>(shift)) {}
    constexpr TShiftState operator|(TShiftState other) const { return fromBits(bits_ | other.bits_); }
    constexpr bool Contains(TShift shift) const { return (bits_ & static_cast<unsigned>(shift)) != 0; }
    constexpr bool operator==(const TShiftState&) const = default;
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr unsigned Bits() const { return bits_; }
    static constexpr TShiftState fromBits(unsigned bits) {
        TShiftState state;
        state.bits_ = bits;
        return state;
    }

private:
    unsigned bits_ = 0;
};

constexpr TShiftState operator|(TShift a, TShift b) {
    return TShiftState(a) | TShiftState(b);
}

} // namespace host
