#pragma once
// The objects the whole range control shares: made once by the program, in
// this order, and handed to the main frame, through which every part of the
// program reaches them. Tests make a set of their own.
#include "foundation/files/BVLog.h"
#include "foundation/comp/DataComp.h"
#include "foundation/settings/LanguageTable.h"
#include "foundation/settings/ProgramStore.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/comp/ShotClock.h"
#include "foundation/targets/TargetTypes.h"
#include "range/lanes/LaneTable.h"

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
};
