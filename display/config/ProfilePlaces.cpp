#include "display/config/ProfilePlaces.h"

#include <cstdio>

#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"

namespace ProfilePlaces {
namespace {

constexpr int kHtmlPicture = 2;

// Marks (502,p,e) for each event of the picture's targets; a run of targets
// of one event writes its mark once.
void MarkEvents(CBVConfig& profiles, CBVConfig& picture, int profile)
{
    const int n = ReadItem(picture, VisItems::kTargetCount);
    int previous = 0;
    for (int t = 1; t <= n; ++t) {
        const int e = picture.ReadInt(502, 1, t, -1);
        if (e > 0 && e != previous)
            WriteItem(profiles, VisItems::ProfileShowsEvent(profile, e), 1);
        previous = e;
    }
}

bool PictureInUse(CVisConfigFiles& files, int picture)
{
    return files.Picture(picture) != nullptr &&
           ReadItem(files.Settings(), VisItems::PictureInUse(picture, 1)) != 0;
}

}  // namespace

std::vector<ProfileRow> Profiles(CBVConfig& profiles)
{
    std::vector<ProfileRow> rows;
    const int n = ReadItem(profiles, VisItems::kProfileCount);
    for (int p = 1; p <= n; ++p) {
        std::string name = ReadItem(profiles, VisItems::ProfileName(p));
        if (!name.empty())
            rows.push_back({p, name});
    }
    return rows;
}

int NewProfile(CBVConfig& profiles)
{
    const int n = ReadItem(profiles, VisItems::kProfileCount);
    const int p =
        VisSlots::FirstFree(n, [&](int s) { return ReadItem(profiles, VisItems::ProfileName(s)).empty(); });
    if (p > n)
        WriteItem(profiles, VisItems::kProfileCount, p);
    char name[32];
    std::snprintf(name, sizeof name, "Profil %d", p);
    WriteItem(profiles, VisItems::ProfileName(p), name);
    WriteItem(profiles, VisItems::ProfilePlaces(p), 0);
    return p;
}

bool DeleteProfile(CBVConfig& profiles, int profile)
{
    if (ReadItem(profiles, VisItems::ProfilePlaces(profile)) > 0)
        return false;
    WriteItem(profiles, VisItems::ProfileName(profile), "");
    return true;
}

void SaveName(CVisConfigFiles& files, int profile, const std::string& name)
{
    CBVConfig& profiles = files.Profiles();
    WriteItem(profiles, VisItems::ProfileName(profile), name);
    if (!name.empty())
        return;
    const int n = ReadItem(profiles, VisItems::ProfilePlaces(profile));
    for (int k = 1; k <= n; ++k) {
        const int picture = ReadItem(profiles, VisItems::PlacePicture(profile, k));
        if (picture >= 1 && picture <= CVisConfigFiles::kMaxPicture && !PictureInSomeProfile(profiles, picture))
            WriteItem(files.Settings(), VisItems::PictureInProfile(picture), 0);
    }
}

std::vector<PlaceRow> Places(CVisConfigFiles& files, int profile)
{
    std::vector<PlaceRow> rows;
    CBVConfig& profiles = files.Profiles();
    const int n = ReadItem(profiles, VisItems::ProfilePlaces(profile));
    for (int k = 1; k <= n; ++k) {
        const int picture = ReadItem(profiles, VisItems::PlacePicture(profile, k));
        if (!PictureInUse(files, picture))
            continue;
        rows.push_back({k, picture, ReadItem(*files.Picture(picture), VisItems::kPictName),
                        ReadItem(profiles, VisItems::PlaceSeconds(profile, k))});
    }
    return rows;
}

int AddPicture(CVisConfigFiles& files, int profile, int picture)
{
    CBVConfig& profiles = files.Profiles();
    const int k = ReadItem(profiles, VisItems::ProfilePlaces(profile)) + 1;
    WriteItem(profiles, VisItems::ProfilePlaces(profile), k);
    WriteItem(profiles, VisItems::PlacePicture(profile, k), picture);
    WriteItem(profiles, VisItems::PlaceSeconds(profile, k), kNewPlaceSeconds);
    WriteItem(files.Settings(), VisItems::PictureInProfile(picture), 1);
    if (CBVConfig* store = files.Picture(picture))
        MarkEvents(profiles, *store, profile);
    return k;
}

bool RemovePlace(CVisConfigFiles& files, int profile, int place)
{
    CBVConfig& profiles = files.Profiles();
    const int n = ReadItem(profiles, VisItems::ProfilePlaces(profile));
    if (place < 1 || place > n)
        return false;
    const int picture = ReadItem(profiles, VisItems::PlacePicture(profile, place));
    WriteItem(profiles, VisItems::ProfilePlaces(profile), n - 1);
    for (int k = place; k < n; ++k) {
        WriteItem(profiles, VisItems::PlacePicture(profile, k),
                  ReadItem(profiles, VisItems::PlacePicture(profile, k + 1)));
        WriteItem(profiles, VisItems::PlaceSeconds(profile, k),
                  ReadItem(profiles, VisItems::PlaceSeconds(profile, k + 1)));
    }
    WriteItem(profiles, VisItems::PlacePicture(profile, n), 0);
    WriteItem(profiles, VisItems::PlaceSeconds(profile, n), 0);
    if (picture >= 1 && picture <= CVisConfigFiles::kMaxPicture && !PictureInSomeProfile(profiles, picture))
        WriteItem(files.Settings(), VisItems::PictureInProfile(picture), 0);
    RemarkEvents(files, profile);
    return true;
}

void SetSeconds(CBVConfig& profiles, int profile, int place, int seconds)
{
    WriteItem(profiles, VisItems::PlaceSeconds(profile, place), seconds);
}

bool PictureInSomeProfile(CBVConfig& profiles, int picture)
{
    const int count = ReadItem(profiles, VisItems::kProfileCount);
    for (int p = 1; p <= count; ++p) {
        if (ReadItem(profiles, VisItems::ProfileName(p)).empty())
            continue;
        const int n = ReadItem(profiles, VisItems::ProfilePlaces(p));
        for (int k = 1; k <= n; ++k)
            if (ReadItem(profiles, VisItems::PlacePicture(p, k)) == picture)
                return true;
    }
    return false;
}

void RemarkEvents(CVisConfigFiles& files, int profile)
{
    CBVConfig& profiles = files.Profiles();
    profiles.Refresh();
    const int events = ReadItem(files.Settings(), VisItems::kEventCount);
    for (int e = 1; e <= events; ++e)
        WriteItem(profiles, VisItems::ProfileShowsEvent(profile, e), 0);
    const int n = ReadItem(profiles, VisItems::ProfilePlaces(profile));
    for (int k = 1; k <= n; ++k) {
        const int picture = ReadItem(profiles, VisItems::PlacePicture(profile, k));
        if (!PictureInUse(files, picture))
            continue;
        CBVConfig& store = *files.Picture(picture);
        if (ReadItem(store, VisItems::kPictType) == kHtmlPicture)
            continue;
        MarkEvents(profiles, store, profile);
    }
}

}  // namespace ProfilePlaces
