// The pictures as the audience sees them, drawn by BVVis --render from a
// range with names, shots and figures: the screenshots of the display.
#include "ScopedEnv.h"
#include "RenderFixture.h"

#include <filesystem>

#include "platform/system/Codepage.h"

namespace bvtest {
namespace {

const char* const kNames[] = {"Kari Nordmann", "Ola Hansen", "Ingrid Berg", "Per Dahl", "Åse Lien",
                              "Jon Moen", "Liv Haugen", "Nils Bakke", "Sigrid Ås", "Tor Lunde"};
const char* const kClubs[] = {"Brevandi", "Nordfjell", "Østmark", "Vestby"};

class ScreensTest : public InTempFolder {
protected:
    // The display\'s own profile (its language) stays in the test\'s folder.
    bvtest::ScopedEnv configHome{"XDG_CONFIG_HOME", folder.Path()};
    void SetUp() override
    {
        ASSERT_EQ(platform::CopyFile(std::string(BV_BINARY_DIR) + "/lang/BVView.bvt", "BVView.bvt"), 0);
    }
    // A card of (relay 1, lane) on a target type.
    static void Card(RangeFolder& range, int lane, int type)
    {
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 1;
        card.lane = static_cast<int16_t>(lane);
        card.valueSystem = 1;
        card.targetType = static_cast<uint8_t>(type);
        ASSERT_GE(range.data.GetCard(card, 1), 0);
    }
    static void Shot(RangeFolder& range, int lane, double x, double y, int type)
    {
        CTargetTypes types;
        ShotRecord s;
        std::memset(&s, 0, sizeof s);
        s.state = CDataComp::kSlotShot;
        s.flags = static_cast<uint16_t>(CDataComp::kFlagFromTarget | 0x80);
        s.x = static_cast<int32_t>(std::lround(x * 1000));
        s.y = static_cast<int32_t>(std::lround(y * 1000));
        s.value = static_cast<int16_t>(types.Score(x, y, type, types.GetBulletRadius(type)));
        s.series = 1;
        s.temperature = 12700;
        ASSERT_GT(range.data.AddShot(1, lane, s, nullptr, 100, 0), 0);
    }
};

TEST_F(ScreensTest, PicturesAsTheAudienceSeesThem)
{
    RangeFolder range("R1");
    platform::CreateFolders("R1/X");
    {
        CBVConfig rs;
        rs.Open("R1\\BVLeder.bvc", 1);
        rs.WriteLong(1, 1, 570, "X");
    }
    // Forty shooters with names and a few shots each on lanes 1..40.
    for (int lane = 1; lane <= 40; ++lane) {
        Card(range, lane, 1);
        char text[300];
        std::snprintf(text, sizeof text, "[Def]\r\nStartNr=%d\r\n", 100 + lane);
        TempFolder::Write("R1/X/H1R001" + std::string(lane < 10 ? "0" : "") + std::to_string(lane) + ".txt", text);
        std::snprintf(text, sizeof text, "[Shooter]\r\nName=%s\r\nClub=%s\r\n[H1]\r\nClass=%s\r\n",
                      platform::Ansi(kNames[lane % 10]).c_str(), platform::Ansi(kClubs[lane % 4]).c_str(),
                      lane % 3 ? "Senior" : "Junior");
        TempFolder::Write("R1/X/N00" + std::to_string(100 + lane) + ".txt", text);
        const int shots = 3 + lane % 6;
        for (int k = 0; k < shots; ++k) {
            const double d = 10 + (lane * 7 + k * 23) % 110;
            const double a = (lane * 40 + k * 137) * M_PI / 180;
            Shot(range, lane, d * std::cos(a), d * std::sin(a), 1);
        }
    }
    // Figures: an elk and a roe deer, each with a shot off its rings (so
    // the whole animal shows), and two field figures.
    const int figures[][2] = {{41, 33}, {42, 34}, {43, 64}, {44, 85}};
    for (const auto& f : figures) {
        Card(range, f[0], f[1]);
        Shot(range, f[0], 40, 60, f[1]);
        Shot(range, f[0], -30, -10, f[1]);
    }
    Shot(range, 41, -350, 150, 33);
    Shot(range, 42, 250, -120, 34);
    DisplayFiles::Event(1, "Bane 1", "R1");
    std::vector<Slot> ten, forty, mixedSlots, figureSlots;
    for (int lane = 1; lane <= 10; ++lane)
        ten.push_back({lane});
    for (int lane = 1; lane <= 40; ++lane)
        forty.push_back({lane, 1, 2});
    for (int lane = 1; lane <= 12; ++lane)
        mixedSlots.push_back({lane, 1, 2});
    for (int lane = 1; lane <= 4; ++lane)
        mixedSlots.push_back({lane});
    for (const auto& f : figures)
        figureSlots.push_back({f[0]});
    DisplayFiles::Picture(1, "Finale", ten, {{VisItems::kShowPlace, 1}, {VisItems::kShowClock, 1}});
    DisplayFiles::Picture(2, "Resultater", forty, {{VisItems::kShowPlace, 1}});
    DisplayFiles::Picture(3, "Finale og liste", mixedSlots, {{VisItems::kShowPlace, 1}});
    DisplayFiles::Picture(4, "Figurer", figureSlots);
    DisplayFiles::Profile({{1, 10}, {2, 10}, {3, 10}, {4, 10}, {9, 10}});  // no picture file 9

    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    const char* const shots[] = {"faces", "list", "mixed", "figures", "message"};
    for (int place = 1; place <= 5; ++place) {
        const std::string png = std::string(BV_BINARY_DIR "/screens/display-") + shots[place - 1] + ".png";
        ProgramRun run = RunBVVis("--render 1 " + std::to_string(place) + " '" + png + "' --report");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_FALSE(TempFolder::Read(png).empty()) << png;
        Report r = Report::Parse(run.out);
        for (const auto& [slot, t] : r.targets)
            EXPECT_EQ(t.error, "-") << shots[place - 1] << " " << slot;
    }
}

}  // namespace
}  // namespace bvtest
