#pragma once
// The display's settings files as the settings dialog holds them while it
// runs: .\BVVis.bvc and .\Profil.bvc, and one .\Pict%d.bvc per picture slot
// in use, all opened writable and created when missing. The pages write
// every change at once through these stores; the display loop, stopped
// meanwhile, sees the changes by the files' change counters afterwards.
#include <memory>
#include <string>
#include <vector>

#include "foundation/files/BVConfig.h"

class CVisConfigFiles {
public:
    // The pages of the dialog, in the order of its tabs.
    enum Page { kProfiles = 0, kPictures, kEvents, kColours, kUser, kPageCount };

    static constexpr const char* kSettingsFile = ".\\BVVis.bvc";
    static constexpr const char* kProfileFile = ".\\Profil.bvc";
    // Picture numbers share section 31, index 1 of BVVis.bvc with the
    // settings from key 500 on (the picture count at 530, the Nettcast
    // folders at 570 and 720): a picture 500 would write over them.
    static constexpr int kMaxPicture = 499;

    static std::string PictureFile(int picture);

    CVisConfigFiles() = default;
    ~CVisConfigFiles();
    CVisConfigFiles(const CVisConfigFiles&) = delete;
    CVisConfigFiles& operator=(const CVisConfigFiles&) = delete;

    // Opens both files and the picture file of every slot in use. A file
    // that cannot be opened stays closed: it reads as defaults and takes no
    // writes. The slots run to the picture count, or further to the highest
    // picture a profile places whose file is there: a BVVis.bvc that lacks
    // its count (made by hand) still shows, and never gives away, them.
    void Open();
    void Close();

    CBVConfig& Settings() { return *m_settings; }
    CBVConfig& Profiles() { return *m_profiles; }
    // The store of a picture slot; nullptr for a free slot or a number
    // outside the array.
    CBVConfig* Picture(int picture) const;
    // Size of the picture array: the slot count when the dialog opened, or
    // more once new pictures were made.
    int PictureSlots() const { return static_cast<int>(m_pictures.size()); }
    // Opens the slot's file, made empty first when fresh is set (a new
    // picture never inherits what a deleted one left in its file).
    CBVConfig* OpenPicture(int picture, bool fresh);
    // Closes the slot's store; the file stays on the disk.
    void ClosePicture(int picture);

    // Whether a page may be shown now: profiles and colours need a picture
    // slot in use, pictures an event in use; events and user always.
    bool CanShowPage(int page);

private:
    int HighestPlacedPicture();

    // Never null: closing puts unopened stores in their place.
    std::unique_ptr<CBVConfig> m_settings = std::make_unique<CBVConfig>();
    std::unique_ptr<CBVConfig> m_profiles = std::make_unique<CBVConfig>();
    std::vector<std::unique_ptr<CBVConfig>> m_pictures;  // index = picture - 1
};
