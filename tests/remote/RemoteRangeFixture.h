#pragma once
// A range folder as the range control leaves it, made with its own
// writers: BVLeder.BVC, a shooting program, competitions with cards, names
// and shots.
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

namespace bvtest {

class RemoteRange {
public:
    // folder: relative to the working folder, without a trailing slash.
    explicit RemoteRange(std::string folder) : m_folder(std::move(folder))
    {
        std::filesystem::create_directories(m_folder);
        CBVConfig range;
        range.Open(Win("BVLeder.BVC"), 1);
        range.WriteString(1, 1, 500, "Skytterlag");
        range.WriteString(1, 1, 501, "Banen");
        range.WriteInt(1, 1, 15, 8);
        // Program 1: series 1 practice, series 2 of 25 shots, series 3 of 60, 10 to a line.
        CBVConfig program;
        program.Open(Win("Program.BVC"), 1);
        program.WriteInt(29, 1, 531, 3);
        program.WriteInt(29, 1, 550, 10);
        program.WriteInt(25, 1, 3, 25);
        program.WriteInt(25, 1, 4, 60);
        program.WriteString(8, 1, 2, "Prove");
        program.WriteString(8, 1, 3, "Grunnlag");
        program.WriteString(8, 1, 4, "Finale");
    }

    std::string Win(const std::string& name) const { return m_folder + "\\" + name; }
    std::string Folder() const { return m_folder + "\\"; }

    // A competition with program 1; options character 10 is start numbers.
    void MakeComp(int comp, bool startNumbers, int startScoreMode = 1)
    {
        std::filesystem::create_directories(m_folder + "/Comp" + std::to_string(comp));
        CBVConfig settings;
        settings.Open(Win("Comp" + std::to_string(comp) + "\\Comp.Bvc"), 1);
        std::string options = "011011110000010000000000000000";
        options[10] = startNumbers ? '1' : '0';
        settings.WriteString(2, 1, 1, options.c_str());
        settings.WriteString(2, 1, 500, ("Stevne " + std::to_string(comp)).c_str());
        settings.WriteInt(2, 1, 15, 1);
        settings.WriteInt(2, 1, 13, startScoreMode);
        CDataComp data;
        data.SetBasePath(Folder());
        data.Open(comp, 1);
    }

    static ShotRecord Shot(int number, int series, int counting, int value)
    {
        ShotRecord shot;
        std::memset(&shot, 0, sizeof shot);
        shot.state = CDataComp::kSlotShot;
        shot.flags = CDataComp::kFlagFromTarget;
        shot.x = 1000 * (number % 7);
        shot.y = -500 * (number % 5);
        shot.value = static_cast<int16_t>(value);
        shot.shotNumber = static_cast<uint8_t>(number);
        shot.series = static_cast<uint8_t>(series);
        shot.countingSeries = static_cast<uint8_t>(counting);
        return shot;
    }

    // A card with a name and `count` shots of `value` in a series, after
    // `practice` practice shots.
    void MakeCard(int comp, int relay, int lane, const std::string& name, int series, int count, int value,
                  int practice = 0, int startScore = 0)
    {
        CDataComp data;
        data.SetBasePath(Folder());
        data.Open(comp, 1);
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = static_cast<int16_t>(relay);
        card.lane = static_cast<int16_t>(lane);
        card.targetType = 18;
        card.valueSystem = 1;
        data.GetCard(card, 1);
        NameRecord record;
        CDataComp::ClearName(record);
        std::strncpy(record.name, name.c_str(), sizeof record.name - 1);
        std::strcpy(record.club, "Klubben");
        record.startScore = startScore;
        data.StoreName(relay, lane, record);
        ShotListRecord list;
        CDataComp::ClearShots(list);
        int slot = 0;
        for (int i = 0; i < practice; ++i, ++slot)
            list.shots[slot] = Shot(slot + 1, 1, 0, 1000);
        for (int i = 0; i < count && slot < CDataComp::kSlots; ++i, ++slot)
            list.shots[slot] = Shot(slot + 1, series, series, value);
        // The first shot makes the card's shot list; the rest as they stand.
        ShotRecord first = list.shots[0];
        data.AddShot(relay, lane, first, nullptr, 250, 1);
        data.WriteShots(relay, lane, list);
    }

private:
    std::string m_folder;
};

}  // namespace bvtest
