#pragma once
// One place of the chosen profile: a picture file with its targets.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "display/model/GraphicStyle.h"
#include "display/model/VisTarget.h"
#include "display/settings/VisSettings.h"
#include "foundation/files/BVConfig.h"

class CVisPicture {
public:
    enum Type { kTargets = 0, kReserved = 1, kHtml = 2, kNettcast = 3 };

    explicit CVisPicture(int place) : place(place)
    {
        for (int k = 0; k < 12; ++k)
            colours[k] = static_cast<uint32_t>(VisItems::kColourDefaults[k]);
    }
    virtual ~CVisPicture() = default;
    CVisPicture(const CVisPicture&) = delete;
    CVisPicture& operator=(const CVisPicture&) = delete;

    char name[32] = {};
    char errorKey[100] = {};
    int type = kTargets;
    CGraphicStyle baseStyle;
    CGraphicStyle headerStyle;
    int displayTime = 0;
    std::string htmlFile;
    int place = 0;
    int number = 0;
    CBVConfig store;
    bool finalLock = false;
    bool singleEvent = false;
    bool noFinal = false;
    int estimateMode = 0;
    bool headerChanged = true;
    double faceAspect = 1.0;
    double listAspect = 1.0;
    std::vector<std::unique_ptr<CVisTarget>> targets;  // in slot order
    int exportWidth = 240;
    int exportHeight = 180;
    int exportTime = 30;
    int exportLimit = 99;
    std::string nettcastFolder, ftpFolder, ftpUser, ftpPassword, ftpServer;
    // Options read with the picture.
    bool showPlace = false;
    bool oneShot = false;
    bool showClock = false;
    // The picture's colours 1..11 (background, target, centre, shot, last
    // shot, text, places 1, 2, 3 and others, marked shot), 0x00BBGGRR.
    uint32_t colours[12] = {};

    CVisTarget& AddTarget(int slot)
    {
        targets.push_back(std::make_unique<CVisTarget>(slot));
        return *targets.back();
    }
    void RemoveTarget(const CVisTarget* t)
    {
        std::erase_if(targets, [t](const auto& p) { return p.get() == t; });
    }
    void RemoveAllTargets() { targets.clear(); }
    bool HasError() const { return errorKey[0] != 0; }
    void SetError(const char* key) { std::strncpy(errorKey, key, sizeof errorKey - 1); }
};
