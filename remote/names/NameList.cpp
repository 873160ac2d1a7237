#include "remote/names/NameList.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "platform/files/FileSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

int NameList::Fill(const std::string& rangeFolder, int comp, int relay)
{
    m_rows.clear();
    m_folder = rangeFolder;
    m_comp = comp;
    m_relay = relay;
    if (comp <= 0 || !platform::FileExists(CompSettings::FileOf(rangeFolder, comp)))
        return m_relay;
    CDataComp data;
    data.SetBasePath(rangeFolder);
    data.Open(comp, 0);
    CBVConfig range;
    range.Open(rangeFolder + "BVLeder.BVC", 0);
    struct Span {
        int first, last;
    };
    std::vector<Span> channels;
    int low = kMaxLane + 1, high = 0;
    for (int k = 0; k < CRangeSettings::kChannels; ++k) {
        ChannelSetting c = ChannelSetting::Decode(ReadItem(range, RangeItems::Channel(k)));
        if (!c.InUse() || c.lastLane < c.firstLane)
            continue;
        // Spans beyond the lanes a range has are cut to them.
        Span span{std::clamp(c.firstLane, 1, kMaxLane), std::clamp(c.lastLane, 1, kMaxLane)};
        channels.push_back(span);
        low = std::min(low, span.first);
        high = std::max(high, span.last);
    }
    for (int lane = low; lane <= high; ++lane) {
        if (ReadItem(data.CompConfig(), CompSettings::LaneActive(lane)) == 0)
            continue;
        if (std::none_of(channels.begin(), channels.end(),
                         [lane](const Span& c) { return lane >= c.first && lane <= c.last; }))
            continue;
        if (m_relay == -1) {
            // The relay now on the first listed lane, read by the lane's key.
            ActiveRecord active;
            CardRecord card;
            if (data.ReadActive(lane, active) == 0 && active.cardRec > 0 &&
                data.CardFile().ReadRec(active.cardRec, &card) == 0)
                m_relay = card.relay;
        }
        Row row{lane, 0};
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(m_relay);
        card.lane = static_cast<int16_t>(lane);
        if (m_relay > 0 && data.GetCard(card, 0) >= 0)
            row.nameRec = card.nameRec;
        m_rows.push_back(row);
    }
    return m_relay;
}

bool NameList::OpenNames(CBVFileEx& file, bool write) const
{
    std::string path = CompSettings::FolderOf(m_folder, m_comp) + "\\Name.BVD";
    if (m_comp <= 0 || !platform::FileExists(path))
        return false;
    uint8_t options = CBVFileEx::kUpdated | (write ? CBVFileEx::kWritable : 0);
    return file.Open(path, CDataComp::kNameSize, CDataComp::kNameVersion, 0, options) == 0;
}

int NameList::NameRec(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return 0;
    return m_rows[static_cast<size_t>(row)].nameRec;
}

bool NameList::ReadRecord(int row, NameRecord& record)
{
    CDataComp::ClearName(record);
    int n = NameRec(row);
    CBVFileEx names;
    return n > 0 && OpenNames(names, false) && names.ReadRecDirect(n, &record) == 0;
}

// Only over a record that is there and reads: a file the range control
// has not made, or a record beyond its end, is left alone.
bool NameList::WriteRecord(int row, const NameRecord& record)
{
    int n = NameRec(row);
    CBVFileEx names;
    NameRecord stored;
    if (n <= 0 || !OpenNames(names, true) || names.ReadRecDirect(n, &stored) != 0)
        return false;
    return names.WriteRec(n, &record) == 0;
}

std::string NameList::StartScoreText(int hundredths)
{
    char text[32];
    int whole = hundredths / 100, part = std::abs(hundredths % 100);
    if (part == 0)
        std::snprintf(text, sizeof text, "%d", whole);
    else if (hundredths < 0 && whole == 0)
        std::snprintf(text, sizeof text, "-0.%02d", part);
    else
        std::snprintf(text, sizeof text, "%d.%02d", whole, part);
    return text;
}

std::string NameList::Text(const NameRecord& record, int column)
{
    switch (column) {
    case 1: return FieldText(record.name, sizeof record.name);
    case 2: return FieldText(record.club, sizeof record.club);
    case 3: return FieldText(record.cls, sizeof record.cls);
    case 4: return FieldText(record.category, sizeof record.category);
    case 5: return StartScoreText(record.startScore);
    default: return {};
    }
}

std::string NameList::CellText(int row, int column)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return {};
    if (column == 0)
        return std::to_string(m_rows[static_cast<size_t>(row)].lane);
    NameRecord record;
    ReadRecord(row, record);
    return Text(record, column);
}

std::vector<std::string> NameList::RowTexts(int row)
{
    std::vector<std::string> texts(kColumns);
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return texts;
    NameRecord record;
    ReadRecord(row, record);
    texts[0] = std::to_string(m_rows[static_cast<size_t>(row)].lane);
    for (int c = 1; c < kColumns; ++c)
        texts[static_cast<size_t>(c)] = Text(record, c);
    return texts;
}

bool NameList::Apply(NameRecord& record, int column, const std::string& text)
{
    std::string trimmed = Trim(text).substr(0, 30);
    switch (column) {
    case 1: SetFieldText(record.name, sizeof record.name, trimmed); return true;
    case 2: SetFieldText(record.club, sizeof record.club, trimmed); return true;
    // Class and category hold 10 characters; the fields after them stay.
    case 3: SetFieldText(record.cls, sizeof record.cls, trimmed.substr(0, 10)); return true;
    case 4: SetFieldText(record.category, sizeof record.category, trimmed.substr(0, 10)); return true;
    case 5: {
        std::string digits;
        for (char c : text)
            if (c != ' ')
                digits += c;
        record.startScore = CTextUtil::ParseScaled(digits, 2);
        return true;
    }
    default: return false;
    }
}

int NameList::CanEdit(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return -1;
    const Row& r = m_rows[static_cast<size_t>(row)];
    if (r.lane < 1 || r.lane > kMaxLane)
        return -1;
    if (r.nameRec == 0)
        return 1;
    CBVConfig range;
    range.Open(m_folder + "BVLeder.BVC", 0);
    return ReadItem(range, RangeItems::kResultsProgram) == kResultsProgramNone ? 0 : 2;
}

bool NameList::Store(int row, int column, const std::string& text)
{
    if (CanEdit(row) != 0)
        return false;
    NameRecord record;
    // A record that cannot be read is not written back half-made.
    if (!ReadRecord(row, record) || !Apply(record, column, text))
        return false;
    return WriteRecord(row, record);
}

bool NameList::Clear(int row)
{
    NameRecord record;
    std::memset(&record, 0, sizeof record);
    return WriteRecord(row, record);
}

void NameList::ClearRelay()
{
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row)
        Clear(row);
}
