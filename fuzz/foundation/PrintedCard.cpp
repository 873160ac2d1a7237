// Any bytes as a card and its shot list from a competition's files, put on a
// PrintCard and laid out as a sheet, list lines, pictures and a shot log. A
// damaged file never makes the layout read past a table, and a card never
// holds more than its 250 shots in series slots 1..39.
#include "foundation/cards/CardFill.h"
#include "foundation/cards/CardLayout.h"
#include "foundation/cards/CardPicture.h"
#include "foundation/cards/ShotListLayout.h"
#include "fuzz/FuzzBytes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

using fuzz::Take;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CProgramStore programs;  // no program files: twenty series without shots
    static CTargetTypes types;
    static CDataComp values;

    CardRecord card;
    ShotListRecord shots;
    uint8_t flags = 0;
    size_t at = Take(data, size, 0, flags);
    at = Take(data, size, at, card);
    Take(data, size, at, shots);

    CardFill::Options options;
    options.practice = flags & 1;
    options.trueSize = flags & 2;
    options.equipment = (flags >> 2) & 3;
    options.gauge = flags >> 4;
    PrintCard print;
    int added = CardFill::Fill(card, nullptr, shots, programs, types, options, print);
    if (added < 0 || added > PrintCard::kShots || print.shotEntries != added)
        __builtin_trap();
    int counted = 0;
    for (int s = 0; s < PrintCard::kSeriesSlots; ++s)
        counted += print.shotCount[s];
    if (counted != added || print.shotCount[0] != 0)
        __builtin_trap();
    for (const PrintShot& shot : print.shots)
        if (shot.series > PrintCard::kLastSeries)
            __builtin_trap();

    // The same card as another program might hand it over: any series byte,
    // any count, any face.
    for (int i = 0; i < PrintCard::kShots && static_cast<size_t>(i) < size; ++i)
        print.shots[i].series = data[i];
    for (int s = 0; s < PrintCard::kSeriesSlots && static_cast<size_t>(s + 1) < size; ++s) {
        print.shotCount[s] = static_cast<int8_t>(data[s + 1]);
        print.seriesTarget[s] = static_cast<int8_t>(data[size - 1 - s]);
        print.valueSystem[s] = data[s];
    }
    CardPrintSettings settings;
    settings.seriesPerSheet = static_cast<int8_t>(flags);
    CardLayout::Sheets sheets = CardLayout::CountSheets(print, settings.seriesPerSheet);
    int inUse = static_cast<int>(CardLayout::SeriesInUse(print).size());
    if (sheets.count < 0 || (inUse > 0 && sheets.count * sheets.perSheet < inUse) || (inUse == 0 && sheets.count != 0))
        __builtin_trap();
    CardLayout::ListLines(settings, print, types, 10);
    CardLayout::Page page = CardLayout::PageOf(2100, 2970, 10, settings.margin);
    CardLayout::CardHead(settings, print, page);
    for (int s : CardLayout::SeriesInUse(print)) {
        int level = CardPicture::ZoomLevel(print, s, settings.zoomLevels, types);
        if (level < 0 || level >= CardPicture::kLevels)
            __builtin_trap();
        int code = print.SeriesTargetType(s);
        CardPicture::FaceScale face = CardPicture::ScaleOf(types, code, level, 600, 600, 600, settings.trueSize, 10);
        CardPicture::Rings(types, code, level, face.scale);
        CardPicture::RingLabels(types, code, level, face.scale, 10, 30);
        CardPicture::HolesOf(print, s, face.scale, CardPicture::BulletRadius(print, s, types), false, 10);
        CardPicture::TrueSizeOffsets(print, s, 10);
    }

    // The shot log of the same records.
    uint8_t order[CDataComp::kSlots];
    CDataComp::BuildShotOrder(shots, order, flags & 1);
    ShotListLayout::Plan plan = ShotListLayout::PlanOf(shots, order, (flags & 8) ? 45 : 68);
    ShotListSettings logSettings;
    logSettings.mode = (flags & 0x40) ? 129 : (flags >> 4) & 3;
    for (const ShotListLayout::Line& line : plan.lines)
        if (line.kind == ShotListLayout::Line::kRow)
            ShotListLayout::Row(logSettings, values, card, shots, line.slot, line.series, line.r, line.first);
    CardLayout::CommentLines(std::string(shots.comment, strnlen(shots.comment, sizeof shots.comment)));
    return 0;
}
