#pragma once
// The profiles of Profil.bvc as the profiles page keeps them: numbered
// slots, each a name and its places 1 .. count (a picture and a display
// time each). With them go two kinds of mark: BVVis.bvc (31,1,i) says that
// picture i stands in some profile (and may not be deleted), and
// Profil.bvc (502,p,e) that profile p shows a target of event e.
#include <string>
#include <vector>

#include "display/config/ConfigFiles.h"

namespace ProfilePlaces {

inline constexpr int kNewPlaceSeconds = 30;

struct ProfileRow {
    int profile = 0;
    std::string name;
};
// The named profiles in slot order.
std::vector<ProfileRow> Profiles(CBVConfig& profiles);

// The first slot without a name (or one past the count), named "Profil %d"
// and without places. The new profile's number.
int NewProfile(CBVConfig& profiles);
// Frees a profile without places; false, changing nothing, while it has some.
bool DeleteProfile(CBVConfig& profiles, int profile);
// Stores the name. An empty name frees the slot even with places; the
// pictures of those places then lose their in-profile mark unless another
// profile shows them.
void SaveName(CVisConfigFiles& files, int profile, const std::string& name);

// One row of the places grid. Places whose picture is no slot in use are
// left out of the grid, so a row keeps the place it stands for.
struct PlaceRow {
    int place = 0;    // 1 .. (31,p,531)
    int picture = 0;
    std::string name;  // the picture's name
    int seconds = 0;
};
std::vector<PlaceRow> Places(CVisConfigFiles& files, int profile);

// Appends the picture with 30 seconds, marks it in a profile and marks the
// events of its targets for the profile. The new place.
int AddPicture(CVisConfigFiles& files, int profile, int picture);
// Removes a place: the later ones move up and the count becomes the places
// left. The picture's in-profile mark is cleared when no named profile
// shows it any more, and the profile's event marks are made again.
bool RemovePlace(CVisConfigFiles& files, int profile, int place);
void SetSeconds(CBVConfig& profiles, int profile, int place, int seconds);

// Whether a named profile has the picture at one of its places.
bool PictureInSomeProfile(CBVConfig& profiles, int picture);
// The profile's event marks from the pictures of its places (HTML pictures
// and places of freed pictures left out).
void RemarkEvents(CVisConfigFiles& files, int profile);

}  // namespace ProfilePlaces
