#pragma once
// Everything the display shows: the chosen profile's pictures, their targets
// and the events (ranges) they belong to. Filled by the display loop; the
// picture view only reads it, apart from the layout fields.
#include <memory>
#include <vector>

#include "display/model/NettcastState.h"
#include "display/model/VisEvent.h"
#include "display/model/VisPicture.h"
#include "foundation/files/BVConfig.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/system/Geometry.h"

class CVisData {
public:
    CVisData() = default;
    // An FTP connection of the Nettcast export still held is closed.
    virtual ~CVisData() { nettcast.Close(); }
    CVisData(const CVisData&) = delete;
    CVisData& operator=(const CVisData&) = delete;

    char profileName[32] = {};
    CVisPicture* current = nullptr;
    std::vector<std::unique_ptr<CVisPicture>> pictures;  // in the profile's order
    std::vector<std::unique_ptr<CVisEvent>> events;      // in order of first use
    bool fullScreen = false;
    int profile = -1;
    bool rebuild = true;
    char errorKey[102] = {};
    CBVConfig settings;  // .\BVVis.bvc
    CBVConfig profiles;  // .\Profil.bvc
    platform::Rect drawRect{};
    // The program's target types, in its language (the Swedish figures).
    CTargetTypes targetTypes;
    NettcastState nettcast;

    CVisPicture& AddPicture(int place);
    void RemoveAllPictures();
    CVisEvent& AddEvent(int number);
    void RemoveAllEvents();
    CVisEvent* FindEvent(int number);
    bool HasError() const { return errorKey[0] != 0; }
    void SetError(const char* key);
    void ClearError() { errorKey[0] = 0; }
    // The place of a picture in the list (0-based), -1 when not in it.
    int IndexOf(const CVisPicture* picture) const;
};
