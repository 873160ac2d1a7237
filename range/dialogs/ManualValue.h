#pragma once
// A shot value as the range officer types it in the manual shot dialog, and
// back. Values are hundredths of a ring with the value codes of the shot
// store: 100..999 the rings 1 to 9, 1000..1099 a ten, 1100..1199 an inner
// ten ('*'); 0 is no value.
//
// The text shows every value as a text that reads back as the same value:
// "9.05", "10.90", "*.50" (an inner ten's decimals after the star).
#include <cstdint>
#include <string>
#include <string_view>

// The text of a value for the dialog's edit.
std::string ManualValueText(uint16_t value);

// The value of a typed text; 0 for a text that is empty, too long (32
// characters or more) or outside 100..1199. Besides plain numbers ("9.5")
// the officer may write an X for ten ("X.5" is 10.5), a leading star for an
// inner ten ("*.5", "*10.5", "*") and a trailing star for an inner hit
// ("10*").
uint16_t ParseManualValue(std::string_view text);
