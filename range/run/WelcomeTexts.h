#pragma once
// The welcome screen on the shooters' monitors before a relay shoots: the
// lane number in large characters, the range's name, the sponsor's line,
// and for each lane the shooter's name with the sponsor text the results
// program published, or two lines of the range's own BVTekst.ini. A twin
// lane shows what the first lane shows.
#include "foundation/files/BVLog.h"

#include <string>

class CBVIniFile;
struct LineMessage;
struct RangeObjects;
class FrameServices;
class RangeControl;

class WelcomeTexts {
public:
    WelcomeTexts(RangeObjects& objects, FrameServices& services, RangeControl& range);

    // The welcome for a lane, or every active lane (0); false when there is
    // no competition to welcome to (the officer is told).
    bool Welcome(int lane);

    // The two characters of a lane number as the monitors show it (" 7",
    // "42"); lane 100 takes three.
    static std::string LaneNumberText(int lane);
    // Cut to at most `most` characters.
    static std::string Cut(std::string text, size_t most);
    // The column that centres a text of this length on the monitor's line.
    static int CentredColumn(const std::string& text) { return 40 - static_cast<int>(text.size()); }

private:
    // A line to every monitor the welcome is for: the twin lane's first,
    // then the lane's, or one copy per line for all lanes.
    void ToAddressed(const LineMessage& m);
    // A line of one lane; the first lane's also goes to the twin lane.
    void ToLane(int lane, const LineMessage& m, uint8_t flags, bool alsoTwin);
    void Line(int column, int row, int size, std::string text, int lane, uint8_t flags, bool alsoTwin);
    // The two lines of BVTekst.ini for a lane.
    void RangeLaneTexts(CBVIniFile& ini, int lane, bool first);

    RangeObjects& m_obj;
    FrameServices& m_services;
    RangeControl& m_range;
    CBVLog m_log;
    // The welcome under way.
    int m_lane = 0;
    int m_twin = 0;
    int m_program = 0;
    std::string m_language;
    std::string m_prefix;
};
