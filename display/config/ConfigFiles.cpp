#include "display/config/ConfigFiles.h"

#include <algorithm>
#include <cstdio>

#include "display/settings/VisSettings.h"
#include "foundation/files/ConfigItem.h"
#include "platform/files/FileSystem.h"

std::string CVisConfigFiles::PictureFile(int picture)
{
    char name[32];
    std::snprintf(name, sizeof name, ".\\Pict%d.bvc", picture);
    return name;
}

CVisConfigFiles::~CVisConfigFiles() = default;

void CVisConfigFiles::Open()
{
    Close();
    m_settings->Open(kSettingsFile, 1);
    m_profiles->Open(kProfileFile, 1);
    const int n = std::max(ReadItem(*m_settings, VisItems::kPictureCount), HighestPlacedPicture());
    m_pictures.resize(static_cast<size_t>(n > 0 ? n : 0));
    for (int b = 1; b <= n; ++b)
        if (ReadItem(*m_settings, VisItems::PictureInUse(b, 1)) != 0)
            OpenPicture(b, false);
}

int CVisConfigFiles::HighestPlacedPicture()
{
    int highest = 0;
    const int profiles = ReadItem(*m_profiles, VisItems::kProfileCount);
    for (int p = 1; p <= profiles; ++p)
        for (int k = 1; k <= ReadItem(*m_profiles, VisItems::ProfilePlaces(p)); ++k) {
            const int picture = ReadItem(*m_profiles, VisItems::PlacePicture(p, k));
            if (picture > highest && picture <= kMaxPicture && platform::FileExists(PictureFile(picture)))
                highest = picture;
        }
    return highest;
}

void CVisConfigFiles::Close()
{
    m_pictures.clear();
    m_settings = std::make_unique<CBVConfig>();
    m_profiles = std::make_unique<CBVConfig>();
}

CBVConfig* CVisConfigFiles::Picture(int picture) const
{
    if (picture < 1 || picture > PictureSlots())
        return nullptr;
    return m_pictures[static_cast<size_t>(picture - 1)].get();
}

CBVConfig* CVisConfigFiles::OpenPicture(int picture, bool fresh)
{
    if (picture < 1 || picture > kMaxPicture)
        return nullptr;
    if (picture > PictureSlots())
        m_pictures.resize(static_cast<size_t>(picture));
    auto& slot = m_pictures[static_cast<size_t>(picture - 1)];
    slot.reset();
    const std::string path = PictureFile(picture);
    if (fresh) {
        // Its undo journal goes too, so nothing of the old file comes back.
        platform::RemoveFile(path);
        platform::RemoveFile(path + ".undo");
    }
    slot = std::make_unique<CBVConfig>();
    slot->Open(path, 1);
    return slot.get();
}

void CVisConfigFiles::ClosePicture(int picture)
{
    if (picture >= 1 && picture <= PictureSlots())
        m_pictures[static_cast<size_t>(picture - 1)].reset();
}

bool CVisConfigFiles::CanShowPage(int page)
{
    m_settings->Refresh();
    switch (page) {
    case kProfiles:
    case kColours: {
        const int n = std::max(ReadItem(*m_settings, VisItems::kPictureCount), PictureSlots());
        for (int b = 1; b <= n; ++b)
            if (ReadItem(*m_settings, VisItems::PictureInUse(b, 1)) != 0)
                return true;
        return false;
    }
    case kPictures: {
        const int n = ReadItem(*m_settings, VisItems::kEventCount);
        for (int e = 1; e <= n; ++e)
            if (ReadItem(*m_settings, VisItems::EventInUse(e)) != 0)
                return true;
        return false;
    }
    case kEvents:
    case kUser: return true;
    default: return false;
    }
}
