#include "display/config/PictureSlots.h"

#include <algorithm>
#include <cstdio>

#include "display/config/LongText.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace PictureSlots {

std::vector<PictureRow> Rows(CVisConfigFiles& files)
{
    std::vector<PictureRow> rows;
    CBVConfig& settings = files.Settings();
    // A slot whose file is open is in use unless BVVis.bvc says otherwise:
    // one that lacks the item is listed as on the other pages.
    for (int b = 1; b <= files.PictureSlots(); ++b) {
        CBVConfig* store = files.Picture(b);
        if (!store || ReadItem(settings, VisItems::PictureInUse(b, 1)) == 0)
            continue;
        rows.push_back({b, ReadItem(*store, VisItems::kPictName),
                        ReadItem(settings, VisItems::PictureInProfile(b)) != 0});
    }
    return rows;
}

int New(CVisConfigFiles& files)
{
    CBVConfig& settings = files.Settings();
    settings.Refresh();
    const int n = std::max(ReadItem(settings, VisItems::kPictureCount), files.PictureSlots());
    const int b = VisSlots::FirstFree(n, [&](int s) { return files.Picture(s) == nullptr; });
    if (b > CVisConfigFiles::kMaxPicture)
        return 0;
    if (b > n)
        WriteItem(settings, VisItems::kPictureCount, b);
    WriteItem(settings, VisItems::PictureInProfile(b), 0);
    WriteItem(settings, VisItems::PictureInUse(b, 1), 1);
    CBVConfig* picture = files.OpenPicture(b, true);
    if (!picture)
        return b;
    char name[32];
    std::snprintf(name, sizeof name, "<Nr%d>", b);
    WriteItem(*picture, VisItems::kPictName, name);
    WriteItem(*picture, VisItems::kTargetCount, 0);
    for (int k = VisItems::kBackground; k <= VisItems::kOtherPlaces; ++k)
        WriteItem(*picture, VisItems::PictColour(k), VisItems::kColourDefaults[k]);
    return b;
}

DeleteResult Delete(CVisConfigFiles& files, int picture)
{
    CBVConfig& settings = files.Settings();
    CBVConfig* store = files.Picture(picture);
    if (!store)
        return DeleteResult::NoPicture;
    if (ReadItem(settings, VisItems::PictureInProfile(picture)) != 0)
        return DeleteResult::InProfile;
    WriteItem(settings, VisItems::PictureInUse(picture, 0), 0);
    WriteItem(*store, VisItems::kPictName, "");
    files.ClosePicture(picture);
    if (picture == ReadItem(settings, VisItems::kPictureCount))
        WriteItem(settings, VisItems::kPictureCount, picture - 1);
    return DeleteResult::Deleted;
}

std::vector<TargetSlot> ReadTargets(CBVConfig& picture)
{
    std::vector<TargetSlot> slots;
    const int n = ReadItem(picture, VisItems::kTargetCount);
    for (int i = 1; i <= n; ++i)
        slots.push_back({ReadItem(picture, VisItems::SlotLane(i)), ReadItem(picture, VisItems::SlotEvent(i)),
                         ReadItem(picture, VisItems::SlotViewType(i)), ReadItem(picture, VisItems::SlotZoom(i))});
    return slots;
}

namespace {

void WriteSlot(CBVConfig& picture, int i, const TargetSlot& t)
{
    WriteItem(picture, VisItems::SlotLane(i), t.lane);
    WriteItem(picture, VisItems::SlotEvent(i), t.event);
    WriteItem(picture, VisItems::SlotViewType(i), t.viewType);
    WriteItem(picture, VisItems::SlotZoom(i), t.rings);
}

}  // namespace

int AddTarget(CBVConfig& picture, int lane, int event, int viewType)
{
    const int n = ReadItem(picture, VisItems::kTargetCount) + 1;
    // The slot may hold what an earlier target left there.
    WriteSlot(picture, n, {lane, event, viewType, kAllRings});
    WriteItem(picture, VisItems::kTargetCount, n);
    return n;
}

bool RemoveTarget(CBVConfig& picture, int slot)
{
    std::vector<TargetSlot> slots = ReadTargets(picture);
    const int n = static_cast<int>(slots.size());
    if (slot < 1 || slot > n)
        return false;
    for (int j = slot + 1; j <= n; ++j)
        WriteSlot(picture, j - 1, slots[static_cast<size_t>(j - 1)]);
    TargetSlot empty;
    empty.lane = empty.event = empty.viewType = 0;
    WriteSlot(picture, n, empty);
    WriteItem(picture, VisItems::kTargetCount, n - 1);
    return true;
}

void SortTargets(CBVConfig& picture, int missingEvent)
{
    std::vector<TargetSlot> slots = ReadTargets(picture);
    auto key = [missingEvent](const TargetSlot& t) {
        const int event = t.event > 0 ? t.event : missingEvent;
        return t.lane + 256 * t.viewType + 65536 * event;
    };
    std::vector<TargetSlot> sorted = slots;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const TargetSlot& a, const TargetSlot& b) { return key(a) < key(b); });
    for (size_t i = 0; i < sorted.size(); ++i)
        if (!(sorted[i] == slots[i]))
            WriteSlot(picture, static_cast<int>(i) + 1, sorted[i]);
}

bool CopyToNext(CBVConfig& picture, int slot)
{
    const int n = ReadItem(picture, VisItems::kTargetCount);
    if (slot < 1 || slot >= n)
        return false;
    WriteItem(picture, VisItems::SlotViewType(slot + 1), ReadItem(picture, VisItems::SlotViewType(slot)));
    WriteItem(picture, VisItems::SlotZoom(slot + 1), ReadItem(picture, VisItems::SlotZoom(slot)));
    return true;
}

void SetViewType(CBVConfig& picture, int slot, int viewType)
{
    WriteItem(picture, VisItems::SlotViewType(slot), viewType);
}

void SetRings(CBVConfig& picture, int slot, const std::string& rings)
{
    WriteItem(picture, VisItems::SlotZoom(slot), rings);
}

ViewOptions ViewOptionsOf(int flags)
{
    ViewOptions o;
    const bool name = flags & 0x1;
    const bool club = flags & 0x2;
    o.nameChoice = name && !club ? 1 : club && !name ? 2 : 0;
    o.showClass = flags & 0x4;
    o.category = flags & 0x8;
    o.seriesName = flags & 0x10;
    o.shotCount = flags & 0x80;
    o.shotList = flags & 0x20000;
    return o;
}

int PictureFlagsOf(const ViewOptions& o)
{
    int flags = o.nameChoice == 1 ? 0x1 : o.nameChoice == 2 ? 0x2 : 0x3;
    if (o.showClass)
        flags |= 0x4;
    if (o.category)
        flags |= 0x8;
    if (o.shotList)
        flags |= 0x20000;
    if (o.shotCount)
        flags |= 0x80;
    if (o.seriesName)
        flags |= 0x10;
    return flags;
}

std::string SaveHtmlFile(CBVConfig& picture, const std::string& file)
{
    return ConfigText::WriteCut(picture, VisItems::kHtmlFileSection, 1, VisItems::kHtmlFileKey, file);
}

}  // namespace PictureSlots
