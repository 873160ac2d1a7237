#pragma once
// The objects the whole range control shares: made once by the program, in
// this order, and handed to the main frame and the range's logic, through
// which every part of the program reaches them. Tests make a set of their own.
#include "foundation/comp/DataComp.h"
#include "foundation/comp/ShotClock.h"
#include "foundation/files/BVLog.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompOptions.h"
#include "foundation/settings/LanguageTable.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/targets/TargetTypes.h"
#include "range/base/LaneTable.h"

struct RangeObjects {
    CLanguageTable language;   // every text shown, by key
    CBVLog log;                // the program's log
    CRangeSettings settings;   // BVLeder.bvc and the window layout
    CTargetTypes targetTypes;
    CProgramStore programs;
    CDataComp comp;            // the open competition's files
    CShotClock clock;          // the shooting time
    LaneTable lanes;           // lanes 1..100
    PortTable ports;           // the four line channels

    // The open competition's number (-1 none, 0 the practice competition),
    // its settings (each with its default while none is open), and the range
    // configuration's.
    int CompetitionNumber() const;
    int CompInt(const ConfigIntItem& item);
    CompOptions Options() const;
    int RangeInt(const ConfigIntItem& item);
    std::string Text(const char* key) { return language.GetText(key); }
};
