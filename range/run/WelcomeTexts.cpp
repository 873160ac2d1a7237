#include "range/run/WelcomeTexts.h"

#include "foundation/files/BVIniFile.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/TextUtil.h"
#include "range/base/FrameServices.h"
#include "range/base/RangeObjects.h"
#include "range/exchange/SponsorFile.h"
#include "range/lanes/Commands.h"
#include "range/run/RangeControl.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kLineChars = 39;     // a centred line of the monitor
constexpr size_t kIniLineChars = 32;  // a line of BVTekst.ini at column 10

// Results programs that publish no sponsor texts: the range's own lines.
bool UsesRangeTexts(int program) { return program == 3 || program == 4 || program == 5; }

}  // namespace

WelcomeTexts::WelcomeTexts(RangeObjects& objects, FrameServices& services, RangeControl& range)
    : m_obj(objects), m_services(services), m_range(range)
{
}

std::string WelcomeTexts::LaneNumberText(int lane)
{
    if (lane >= 100)
        return std::to_string(lane);
    std::string text(2, ' ');
    if (lane >= 10)
        text[0] = static_cast<char>('0' + lane / 10);
    text[1] = static_cast<char>('0' + lane % 10);
    return text;
}

std::string WelcomeTexts::Cut(std::string text, size_t most)
{
    if (text.size() > most)
        text.resize(most);
    return text;
}

void WelcomeTexts::ToAddressed(const LineMessage& m)
{
    if (m_twin != 0)
        m_range.commands.SendCommand(m_twin, m, Cmd::kEvenDisabled);
    if (m_lane != 0)
        m_range.commands.SendCommand(m_lane, m, 0);
    else
        m_range.commands.SendCommand(0, m, Cmd::kEveryLine);
}

void WelcomeTexts::ToLane(int lane, const LineMessage& m, uint8_t flags, bool alsoTwin)
{
    if (alsoTwin && m_twin != 0)
        m_range.commands.SendCommand(m_twin, m, Cmd::kEvenDisabled);
    m_range.commands.SendCommand(lane, m, flags);
}

void WelcomeTexts::Line(int column, int row, int size, std::string text, int lane, uint8_t flags, bool alsoTwin)
{
    if (text.empty())
        return;
    CTextUtil::FoldLetters(text, m_language);
    LineMessage m;
    ScreenLineCmd{lane, column, row, size, text}.Build(m);
    if (lane == 0)
        ToAddressed(m);
    else
        ToLane(lane, m, flags, alsoTwin);
}

void WelcomeTexts::RangeLaneTexts(CBVIniFile& ini, int lane, bool first)
{
    char section[16];
    std::snprintf(section, sizeof section, "Skive%02d", lane);
    Line(10, 16, 2, Cut(ini.GetString(section, "Linje1"), kIniLineChars), lane, 0, first);
    Line(10, 20, 2, Cut(ini.GetString(section, "Linje2"), kIniLineChars), lane, Cmd::kMarkLanes, first);
}

bool WelcomeTexts::Welcome(int lane)
{
    if (m_obj.CompetitionNumber() <= 0) {
        m_services.Message(m_obj.Text("IDS_WRN_COMPTRAIN"));
        return false;
    }
    // A failed import leaves the lanes with the names they have; the
    // welcome itself still goes out.
    m_range.exchange.ImportNames(lane);
    m_lane = LaneTable::IsLane(lane) ? lane : 0;
    m_twin = m_obj.CompInt(CompSettings::kTwinLane);
    m_language = m_obj.Options().IsOn(CompOptions::EnglishDisplayText) ? "EN" : m_obj.Text("IDS_LANG");
    m_prefix = ReadItem(m_obj.comp.CompConfig(), CompSettings::kPrefix);
    m_program = m_obj.RangeInt(RangeItems::kResultsProgram);
    if (m_program > 8) {
        BV_LOG(m_log, 90, "Ukjent resultatprogram valgt (%d) - bruker BVRes format", m_program);
        m_program = 0;
    }

    LineMessage m;
    for (int size : {0, 2}) {
        ScreenLineCmd{0, 1, 1, size, ""}.Build(m);
        ToAddressed(m);
    }
    ClearScreenCmd{}.Build(m);
    ToAddressed(m);

    const int first = m_lane != 0 ? m_lane : m_obj.lanes.NextActiveLane(0);
    auto lanes = [&](auto each) {
        if (m_lane != 0) {
            each(m_lane, true);
            return;
        }
        for (int l = first; l != 0; l = m_obj.lanes.NextActiveLane(l))
            each(l, l == first);
    };
    lanes([&](int l, bool isFirst) {
        ScreenLineCmd{l, 34, 8, 3, LaneNumberText(l)}.Build(m);
        ToLane(l, m, 0, isFirst);
    });

    CBVConfig& range = m_obj.settings.Config();
    const std::string name = range.IsOpen() ? ReadItem(range, RangeItems::kUserName) : "";
    const std::string sponsor =
        range.IsOpen() ? ReadItem(range, RangeItems::kSponsor1) + ReadItem(range, RangeItems::kSponsor2) : "";
    std::string cut = Cut(name, kLineChars);
    Line(CentredColumn(cut), 28, 2, cut, 0, 0, false);
    cut = Cut(sponsor, kLineChars);
    Line(CentredColumn(cut), 24, 2, cut, 0, 0, false);

    if (UsesRangeTexts(m_program)) {
        CBVIniFile ini;
        ini.OpenRead(".\\BVTekst.ini");
        lanes([&](int l, bool isFirst) { RangeLaneTexts(ini, l, isFirst); });
        return true;
    }
    SponsorFile sponsors;
    sponsors.Load(range.IsOpen() ? CRangeSettings::ReadExchangeFolder(range) : "");
    lanes([&](int l, bool isFirst) {
        if (m_program != 8) {
            std::string text = Cut(sponsors.LaneText(m_prefix, l), kLineChars);
            Line(CentredColumn(text), 20, 2, text, l, 0, isFirst);
        }
        const NameRecord& n = m_obj.lanes[l].name;
        std::string shooter = Cut(std::string(n.name, strnlen(n.name, sizeof n.name)), kLineChars);
        Line(CentredColumn(shooter), 16, 2, shooter, l, Cmd::kMarkLanes, isFirst);
    });
    return true;
}
