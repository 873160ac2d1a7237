#pragma once
// The target unit models, in names of our own: the unit types that a
// service technician picks for a target controller's sensor set-up, and the
// hardware types a unit reports in its configuration answer. The software
// loader and the unit status screen read the same table.
#include <cstdint>

struct UnitType {
    int code;          // hardware type code; 17 and 24..26 are variants of 1 and 8..10
    const char* name;
};

// In the order of the unit type list.
extern const UnitType kUnitTypes[15];

// The name of hardware type 1..11, or null for any other value.
const char* HardwareModelName(int hardwareType);
