#pragma once
// One range shown by the display: its range folder, the range control's
// settings and competition there, opened read-only, and what the loop has
// learnt from them. Shared by every target of that event number.
#include <cstdint>
#include <string>

#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"

class CVisEvent {
public:
    explicit CVisEvent(int number) : number(number) {}
    virtual ~CVisEvent() = default;
    CVisEvent(const CVisEvent&) = delete;
    CVisEvent& operator=(const CVisEvent&) = delete;

    char name[32] = {};
    int number = 0;
    CBVConfig rangeSettings;  // BVLeder.bvc of the range folder
    CProgramStore programs;
    CDataComp data;
    int program = 0;
    int shotsPerLine = 0;     // L: shots per line of the series sums; set by the first settings read
    std::string rangeFolder;
    std::string exchangeFolder;
    std::string prefix = "H1";
    int resultsProgram = 0;
    bool filesChanged = true;
    int shotCheck = 1;        // -1 nothing new, 0 not yet looked at, 1 changed
    int rangeSettingsState = 0;  // -1 not to be read, 0 to be looked at, 1 changed
    bool dataOpen = false;
    int competition = -1;
    bool startScore = false;
    bool timedShots = false;
    bool runNumbers = false;
    bool startNumbers = false;
    int rangeEquipment = 0;
    double distanceScale = 1.0;
    int longestSeries = 0;
    int seriesWithShots = 0;
    int subCount = 0;
    int oneShotWindow = 0;
    int superMode = 0;
    std::string rangeComputer;
    // The shooting clock as the range control's clock link told it last:
    // mode (0 stopped), period and extra time in tenths, and the tick count
    // (ms) at which the clock's elapsed time was 0. The values stay while the
    // link is down.
    int clockMode = 0;
    int clockPeriod = 0;
    int clockExtra = 0;
    uint32_t clockStartTick = 0;
    // Bytes of a clock message whose end has not come yet.
    std::string clockPending;
    // Looks in a row at the range folder's files that failed; at three the
    // folder counts as gone and its targets show that the range is missing.
    int failedLooks = 0;
    // Change counter of Shot.BVD at the last look: a shot added to a list
    // that already had shots changes neither Active.BVD nor Card.BVD.
    int32_t shotFileCounter = 0;
    bool lost = false;

    static constexpr int kLostAfter = 3;
};
