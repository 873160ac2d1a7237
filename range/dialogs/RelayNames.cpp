#include "range/dialogs/RelayNames.h"

#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The typed text as a field takes it: 30 characters, blanks trimmed, cut to
// the field.
void SetField(char* field, size_t size, std::string_view text)
{
    std::string cut(text.substr(0, 30));
    CTextUtil::Trim(cut, " ", 30);
    if (cut.size() > size - 1)
        cut.resize(size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, cut.data(), cut.size());
}

}  // namespace

RelayNames::RelayNames(CDataComp& comp) : m_comp(comp) {}

void RelayNames::Load(int relay, const std::vector<int>& lanes)
{
    m_relay = relay;
    m_lanes.clear();
    m_nameRecs.fill(0);
    m_comp.CardFile().CacheVerify(0);
    m_comp.NameFile().CacheVerify(0);
    for (int lane : lanes) {
        if (!CDataComp::IsLane(lane))
            continue;
        m_lanes.push_back(lane);
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(m_comp.StartNumberMode() ? 0 : lane);
        if (m_comp.CardFile().ReadRecKey(&card) == 0)
            m_nameRecs[static_cast<size_t>(lane)] = card.nameRec;
    }
}

int RelayNames::NameRecordOf(int lane) const
{
    return CDataComp::IsLane(lane) ? m_nameRecs[static_cast<size_t>(lane)] : 0;
}

std::string RelayNames::ScoreText(int hundredths)
{
    char text[32];
    if (hundredths % 100 != 0)
        std::snprintf(text, sizeof text, "%s%d.%02d", hundredths < 0 ? "-" : "", std::abs(hundredths / 100),
                      std::abs(hundredths % 100));
    else
        std::snprintf(text, sizeof text, "%d", hundredths / 100);
    return text;
}

std::string RelayNames::CellText(int lane, int column)
{
    if (column == kColLane)
        return std::to_string(lane);
    // A lane without a name shows nothing, not a start score of 0.
    const int rec = NameRecordOf(lane);
    if (rec == 0)
        return {};
    NameRecord name;
    if (m_comp.NameFile().ReadRec(rec, &name) != 0)
        CDataComp::ClearName(name);
    switch (column) {
    case kColName:
        return FieldText(name.name, sizeof name.name);
    case kColClub:
        return FieldText(name.club, sizeof name.club);
    case kColClass:
        return FieldText(name.cls, sizeof name.cls);
    case kColCategory:
        return FieldText(name.category, sizeof name.category);
    case kColStartScore:
        return ScoreText(name.startScore);
    default:
        return {};
    }
}

int RelayNames::Store(int lane, int column, std::string_view text, const CardRecord& settings)
{
    if (!CDataComp::IsLane(lane) || column < kColName || column > kColStartScore)
        return kUnchanged;
    const int rec = NameRecordOf(lane);
    NameRecord name;
    CDataComp::ClearName(name);
    if (rec != 0) {
        if (m_comp.NameFile().ReadRec(rec, &name) != 0)
            CDataComp::ClearName(name);
    } else {
        std::string bare(text.substr(0, 30));
        CTextUtil::Trim(bare, " ", 30);
        if (bare.empty())
            return kUnchanged;
    }
    switch (column) {
    case kColName:
        SetField(name.name, sizeof name.name, text);
        break;
    case kColClub:
        SetField(name.club, sizeof name.club, text);
        break;
    case kColClass:
        SetField(name.cls, sizeof name.cls, text);
        break;
    case kColCategory:
        SetField(name.category, sizeof name.category, text);
        break;
    default:
        name.startScore = CTextUtil::ParseScaled(text, 2);
        break;
    }
    if (rec != 0)
        return m_comp.StoreName(m_relay, lane, name) == 0 ? kStored : kNoCard;

    // A new shooter: the card of the relay on this lane, made with the
    // lane's target settings when missing. Only the settings are taken from
    // the lane: its shots and its name are another card's.
    CardRecord card;
    CDataComp::ClearCard(card);
    card.relay = static_cast<int16_t>(m_relay);
    card.lane = static_cast<int16_t>(lane);
    card.targetType = settings.targetType;
    card.valueSystem = settings.valueSystem;
    card.sensitivity = settings.sensitivity;
    card.band1 = settings.band1;
    card.band2 = settings.band2;
    if (m_comp.FindOrMakeCard(card) < 0)
        return kNoCard;
    const int keyLane = m_comp.StartNumberMode() ? 0 : lane;
    name.startNumber = m_relay * 100 + keyLane;
    if (m_comp.StoreName(m_relay, lane, name) != 0)
        return kNoCard;
    CardRecord stored;
    CDataComp::ClearCard(stored);
    stored.relay = static_cast<int16_t>(m_relay);
    stored.lane = static_cast<int16_t>(keyLane);
    m_comp.CardFile().CacheVerify(0);
    if (m_comp.CardFile().ReadRecKey(&stored) == 0)
        m_nameRecs[static_cast<size_t>(lane)] = stored.nameRec;
    return kStored;
}

bool RelayNames::DeleteShooter(int lane)
{
    if (NameRecordOf(lane) == 0)
        return false;
    return m_comp.DeleteName(m_relay, lane) == 0;
}

void RelayNames::DeleteRelay()
{
    for (int lane : m_lanes)
        if (NameRecordOf(lane) != 0)
            m_comp.DeleteName(m_relay, lane);
}
