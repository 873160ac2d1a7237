#include "range/scorecard/CardColumns.h"

#include "foundation/cards/ShotListLayout.h"
#include "foundation/comp/RunNumber.h"
#include "foundation/text/TextUtil.h"
#include "platform/system/Codepage.h"
#include "platform/system/StringFormat.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Shot flags the columns read beyond those the competition data names.
constexpr uint16_t kFlagHardware = 0x0020;  // hardware data in the target data byte
constexpr uint16_t kFlagBandMarker = 0x0100;
constexpr uint16_t kFlagShortAdvance = 0x0200;

constexpr int kNoTemperature = 12700;  // and above: the target measured none

bool Manual(const ShotRecord& shot) { return (shot.flags & CDataComp::kFlagNoCoordinates) != 0; }

// A measured temperature outside what the electronics stand: above 80 or
// below -20 degrees. A shot without a temperature is not warned of.
bool TemperatureWarning(const ShotRecord& shot)
{
    if (shot.flags & (CDataComp::kFlagNoCoordinates | kFlagHardware))
        return false;
    return shot.temperature < kNoTemperature && (shot.temperature > 8000 || shot.temperature < -2000);
}

}  // namespace

std::vector<int> CardColumnKinds(int detail, bool motor)
{
    std::vector<int> kinds;
    switch (detail) {
    case 0:
        return {kCardCheck, kCardSeries, kCardCounting, kCardValue, kCardStatus};
    case 1:
        kinds = {kCardCheck, kCardSeries, kCardCounting, kCardValue, kCardSensors};
        break;
    default:
        kinds = {kCardCheck, kCardSeries, kCardCounting, kCardValue, kCardSensors,
                 kCardTemperature, kCardX, kCardY, kCardRadius};
        break;
    }
    if (motor)
        kinds.push_back(kCardBand);
    kinds.push_back(kCardHardware);
    kinds.push_back(kCardTime);
    if (detail >= 2)
        kinds.push_back(kCardDate);
    kinds.push_back(kCardStatus);
    return kinds;
}

CardColumn CardColumnOf(int kind, int equipment)
{
    static const char* const kSeriesSample = "44: 1. Serie presisjon XX";
    static const std::string kDegrees = platform::Ansi("44 °C");
    switch (kind) {
    case kCardCheck: return {kind, nullptr, "1X", true};
    case kCardSeries: return {kind, "IDS_CARD_H1", kSeriesSample, true};
    case kCardCounting: return {kind, "IDS_CARD_H13", kSeriesSample, true};
    case kCardValue: return {kind, "IDS_CARD_H2", "*10.44X", false};
    case kCardSensors: return {kind, "IDS_CARD_H32", "144:144:144:144", true};
    case kCardTemperature: return {kind, "IDS_CARD_H4", kDegrees.c_str(), false};
    case kCardX: return {kind, "IDS_CARD_H5", "-1044.444", false};
    case kCardY: return {kind, "IDS_CARD_H6", "-1044.444", false};
    case kCardRadius: return {kind, "IDS_CARD_H12", "1444.444", false};
    case kCardBand: return {kind, "IDS_CARD_H11", ">444", false};
    case kCardHardware: return {kind, "IDS_CARD_H7", ".44:44", false};
    case kCardTime:
        if (equipment == 1)
            return {kind, "IDS_CARD_H8Vende", "144:44:44.44", false};
        if (equipment == 2)
            return {kind, "IDS_CARD_H8Sprang", "444", false};
        return {kind, "IDS_CARD_H8", "144:44:44.44", false};
    case kCardDate: return {kind, "IDS_CARD_H9", " 2044.04.24 - 04:44:44,44", false};
    case kCardStatus: return {kind, "IDS_CARD_H10", "1234567890ABCDEFGF", true};
    default: return {};
    }
}

uint32_t CardColourRgb(CardColour colour)
{
    switch (colour) {
    case CardColour::Red: return 0xFF0000;
    case CardColour::Green: return 0x00C400;
    case CardColour::Blue: return 0x0000FF;
    default: return 0x000000;
    }
}

CardCells::CardCells(const CDataComp& values, std::function<std::string(const char*)> text)
    : m_values(values), m_text(std::move(text))
{
}

std::string CardCells::SeriesName(int series) const
{
    if (series >= 1 && series <= CDataComp::kMaxSeries)
        return settings.seriesNames[static_cast<size_t>(series - 1)];
    return platform::StringFormat("%d", series);
}

int CardCells::Rating(const ScoreCard& card, int row) const
{
    return m_values.RateSensors(card.shots, card.Slot(row), card.card.targetType, card.card.sensitivity);
}

std::string CardCells::TimeText(const ScoreCard& card, int row) const
{
    const ShotRecord& shot = card.Shot(row);
    const int t = shot.shotAt;
    const char* sign = t < 0 ? "-" : "";
    const int magnitude = std::abs(t);
    if (settings.equipment == 2) {
        // Runs count from the series' first shot a target delivered.
        int reference = card.Slot(row);
        for (int r = 0; r <= row; ++r) {
            const ShotRecord& s = card.Shot(r);
            if ((s.flags & CDataComp::kFlagFromTarget) && (s.series & 0x7F) == (shot.series & 0x7F)) {
                reference = card.Slot(r);
                break;
            }
        }
        return platform::StringFormat("%d", RunNumber(shot.data44, card.shots.shots[reference].data44));
    }
    if (settings.equipment == 1 && settings.programEquipment == 129)
        return platform::StringFormat("%02d: %s%d%s%02d", shot.data41, sign, magnitude / 100, settings.separator.c_str(),
                      magnitude % 100);
    std::string time;
    CTextUtil::FormatTime(time, magnitude, 100, settings.separator);
    return sign + time;
}

std::string CardCells::Text(const ScoreCard& card, int row, int kind) const
{
    if (row < 0 || row >= card.RowCount())
        return {};
    const ShotRecord& shot = card.Shot(row);
    const bool manual = Manual(shot);
    const std::string& sep = settings.separator;
    switch (kind) {
    case kCardCheck:
        return card.Working(row) == settings.selectedSeries ? "1" : "0";
    case kCardSeries: {
        int ordinal = 0;
        for (int r = 0; r <= row; ++r)
            if ((card.Shot(r).series & 0x7F) == (shot.series & 0x7F))
                ++ordinal;
        return platform::StringFormat("%2d: %s", ordinal, SeriesName(shot.series & 0x7F).c_str());
    }
    case kCardCounting: {
        const int c = card.Working(row);
        if (c == ScoreCard::kUndefined)
            return "     " + m_text("IDS_CARD_UNDEF");
        if (c == ScoreCard::kOut)
            return "     " + m_text("IDS_CARD_OUT");
        int ordinal = 0;
        for (int r = 0; r <= row; ++r)
            if (card.Working(r) == c)
                ++ordinal;
        return platform::StringFormat("%2d: %s", ordinal, SeriesName(c).c_str());
    }
    case kCardValue: {
        // A shot turned away on turning targets shows what it counts: 0.
        int value = Turning() && (shot.flags & CDataComp::kFlagMarked) ? 0 : shot.value;
        std::string text;
        m_values.ValueText(value, card.card.valueSystem, text);
        return text;
    }
    case kCardSensors:
        if (manual || shot.sensorA == 255)
            return {};
        if (shot.sensorB == 255 && shot.sensorC == 255)
            return platform::StringFormat("%3d", shot.sensorA);
        if (shot.sensorD == 255)
            return platform::StringFormat("%3d:%3d:%3d", shot.sensorA, shot.sensorB, shot.sensorC);
        return platform::StringFormat("%3d:%3d:%3d:%3d", shot.sensorA, shot.sensorB, shot.sensorC, shot.sensorD);
    case kCardTemperature:
        if ((shot.flags & (CDataComp::kFlagNoCoordinates | kFlagHardware)) || shot.temperature >= kNoTemperature)
            return {};
        return platform::StringFormat("%d", shot.temperature / 100) + platform::Ansi("°C");
    case kCardX:
    case kCardY:
    case kCardRadius: {
        if (manual)
            return {};
        int v = kind == kCardX ? shot.x : kind == kCardY ? shot.y : shot.radius;
        return ShotListLayout::Millimetres(v, settings.distanceScale, sep);
    }
    case kCardBand:
        if (manual)
            return {};
        return platform::StringFormat((shot.flags & kFlagBandMarker) ? ">%d" : " %d", shot.data45 & 0x7FFF);
    case kCardHardware:
        if (manual)
            return {};
        if (shot.flags & kFlagHardware)
            return platform::StringFormat("%d", shot.data17 & 0x0F);
        return platform::StringFormat("%d:%02d", shot.data42, shot.data43 & 0x0F);
    case kCardTime:
        return manual ? std::string() : TimeText(card, row);
    case kCardDate:
        return platform::StringFormat("%d%02d.%02d.%02d - %02d:%02d:%02d%s%02d", shot.century, shot.year, shot.month, shot.day,
                      shot.hour, shot.minute, shot.second, sep.c_str(), shot.hundredths);
    case kCardStatus:
        return Status(card, row);
    default:
        return {};
    }
}

std::string CardCells::Status(const ScoreCard& card, int row) const
{
    const ShotRecord& shot = card.Shot(row);
    const bool manual = Manual(shot);
    std::string status;
    auto add = [&](const std::string& part) { status += part + " "; };
    if (shot.flags & CDataComp::kFlagCopied)
        add(m_text("IDS_CARD_COPYSHOT") + platform::StringFormat(" (%d)", shot.data41));
    if (manual)
        add(m_text("IDS_CARD_MANUALSHOT"));
    else if (!(shot.flags & CDataComp::kFlagFromTarget))
        add(m_text("IDS_CARD_SIMULATESHOT"));
    if (shot.flags & CDataComp::kFlagFlagged)
        add(m_text("IDS_CARD_SUPER"));
    else if (!(shot.flags & CDataComp::kFlagShown))
        add(m_text("IDS_CARD_HIDE"));
    if (shot.flags & CDataComp::kFlagFrame)
        add(m_text("IDS_CARD_ERRFRAME"));
    if ((settings.equipment & 0x0F) == 1 && (shot.flags & CDataComp::kFlagMarked))
        add(m_text("IDS_CARD_ERRTURN"));
    if (shot.flags & kFlagShortAdvance)
        add(m_text("IDS_CARD_ERRADVANCE"));
    if (!manual) {
        switch (Rating(card, row)) {
        case 25: add(m_text("IDS_CARD_ERRENERGY1")); break;
        case 50: add(m_text("IDS_CARD_ERRENERGY2")); break;
        case 75: add(m_text("IDS_CARD_ERR_ENERGY3")); break;
        default: break;
        }
    }
    if (TemperatureWarning(shot))
        add(m_text("IDS_CARD_ERRTEMP"));
    return status;
}

CardColour CardCells::Colour(const ScoreCard& card, int row, int kind) const
{
    if (row < 0 || row >= card.RowCount())
        return CardColour::WindowText;
    const ShotRecord& shot = card.Shot(row);
    switch (kind) {
    case kCardSeries:
        return (shot.flags & CDataComp::kFlagCopied) ? CardColour::Red : CardColour::WindowText;
    case kCardCounting:
        if (card.Working(row) == ScoreCard::kOut)
            return CardColour::Red;
        return card.Working(row) == ScoreCard::kUndefined ? CardColour::Blue : CardColour::WindowText;
    case kCardSensors:
        if (Manual(shot))
            return CardColour::WindowText;
        switch (Rating(card, row)) {
        case 75: return CardColour::Red;
        case 50: return CardColour::Blue;
        case 25: return CardColour::Green;
        default: return CardColour::WindowText;
        }
    case kCardTemperature:
        return TemperatureWarning(shot) ? CardColour::Red : CardColour::WindowText;
    case kCardBand:
        return (shot.flags & kFlagShortAdvance) ? CardColour::Red : CardColour::WindowText;
    case kCardTime:
        return Turning() && (shot.flags & CDataComp::kFlagMarked) ? CardColour::Red : CardColour::WindowText;
    default:
        return CardColour::WindowText;
    }
}
