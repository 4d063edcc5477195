#pragma once
// The three values an option box holds, as the settings file numbers them. A
// pass acts on an option only when it is On: a greyed box is not ticked.

#include <optional>

namespace quillo {

enum class CheckValue { Off = 0, On = 1, Grey = 2 };

// The value a settings record's number stands for; nothing outside 0 to 2.
constexpr std::optional<CheckValue> checkValueFromNumber(int number) {
    if (number < 0 || number > 2) return std::nullopt;
    return static_cast<CheckValue>(number);
}

constexpr int checkValueNumber(CheckValue value) {
    return static_cast<int>(value);
}

}  // namespace quillo
