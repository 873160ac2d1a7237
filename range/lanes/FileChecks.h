#pragma once
// The competition's files as other programs change them: the file checks
// re-read the lanes' active records, cards and names, the reload reads the
// lanes' shot lists whose counters moved, and the touch tells the display
// and remote programs that this one changed them.
#include "foundation/files/BVLog.h"

struct RangeObjects;
class FrameServices;
class LaneCards;
class ResultsExchange;

class FileChecks {
public:
    FileChecks(RangeObjects& objects, FrameServices& services, LaneCards& cards, ResultsExchange& exchange);

    // Bit 0: some lane's row changed; bit 7: the lanes or a shared file changed.
    int CheckFiles(bool force);
    // 1 when some lane's shots were read again.
    int ReloadShots(bool force);
    // Redraws the rows marked since the last time.
    void RefreshChangedRows();
    void TouchFiles();
    // Re-reads the range configuration when its file changed.
    void ReloadRangeConfig();

    // The competition's current series and stored mark kind, as last read.
    int currentSeries = 0;
    int markKind = -1;

private:
    RangeObjects& m_obj;
    FrameServices& m_services;
    LaneCards& m_cards;
    ResultsExchange& m_exchange;
    CBVLog m_log;
};
