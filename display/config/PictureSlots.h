#pragma once
// The pictures as the pictures page keeps them: numbered slots in
// BVVis.bvc, each with its own .\Pict%d.bvc holding the name, type, view
// options, colours and the targets (dense target slots 1 .. count, each a
// lane, an event, a kind of panel and the rings the face may zoom to).
#include <string>
#include <vector>

#include "display/config/ConfigFiles.h"

class CBVConfig;

namespace PictureSlots {

struct PictureRow {
    int picture = 0;
    std::string name;
    bool inProfile = false;
};

// The pictures in use with an open store, in slot order.
std::vector<PictureRow> Rows(CVisConfigFiles& files);

// Makes a picture in the first slot without a store (or one past the
// count): an empty file named "<Nr%d>" with the default colours. 0, making
// nothing, when the next number would be past the highest picture number.
int New(CVisConfigFiles& files);

enum class DeleteResult { Deleted, InProfile, NoPicture };
// Frees a slot that no profile shows; its file stays on the disk.
DeleteResult Delete(CVisConfigFiles& files, int picture);

// --- Targets of one picture file.

inline constexpr const char* kAllRings = "0123456789X";

struct TargetSlot {
    int lane = 0;
    int event = 0;
    int viewType = 0;
    std::string rings = kAllRings;
    bool operator==(const TargetSlot&) const = default;
};

std::vector<TargetSlot> ReadTargets(CBVConfig& picture);
// Appends a target with default rings; its slot number.
int AddTarget(CBVConfig& picture, int lane, int event, int viewType);
// Removes target slot (1-based): the later ones move down with their rings
// and the freed last slot is emptied. False when there is no such slot.
bool RemoveTarget(CBVConfig& picture, int slot);
// Orders the targets by event, then kind of panel, then lane (a target
// without an event counts as the given one); each keeps its rings.
void SortTargets(CBVConfig& picture, int missingEvent);
// The kind of panel and the rings of slot go to slot + 1. False when slot is
// the last one.
bool CopyToNext(CBVConfig& picture, int slot);
void SetViewType(CBVConfig& picture, int slot, int viewType);
void SetRings(CBVConfig& picture, int slot, const std::string& rings);

// --- What the panels show.

struct ViewOptions {
    int nameChoice = 0;  // 0 name and club, 1 name, 2 club
    bool showClass = false;
    bool category = false;
    bool seriesName = false;
    bool shotCount = false;
    bool shotList = false;
};
ViewOptions ViewOptionsOf(int pictureFlags);
int PictureFlagsOf(const ViewOptions& options);

// The HTML file of an HTML picture, trimmed and cut to 270 characters; the
// text as stored.
std::string SaveHtmlFile(CBVConfig& picture, const std::string& file);

}  // namespace PictureSlots
