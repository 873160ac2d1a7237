#pragma once
// What the range control program knows about its range and its own windows:
// the range configuration file .\BVLeder.bvc (a CBVConfig) and the window
// layout kept in the program's profile, section Context. The display and
// remote programs read the same BVLeder.bvc of a range folder through a store
// of their own, with the items listed here.
#include <string>

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"

namespace platform {
class ProfileStore;
}

// The line channel of one of the four port settings, stored at (1,1,530+k) as
// three characters holding raw byte values.
struct ChannelSetting {
    int type = 0;       // 1..9 serial port COM1..COM9, 10 the outside range system, 11+ a USB line adapter
    int firstLane = 0;  // 1..100
    int lastLane = 0;

    // In use only when all three are set.
    bool InUse() const { return type != 0 && firstLane != 0 && lastLane != 0; }
    // A stored text of fewer than three characters gives a channel not in use.
    static ChannelSetting Decode(const std::string& stored);
    std::string Encode() const;
};

namespace RangeItems {

inline constexpr ConfigIntItem kExternalEquipment{1, 1, 1, 0};  // 0..5; 1 turning targets, 2 running targets
// The range's targets advance a band (motor); also lets a shot's warning bit
// show in the lane's line status.
inline constexpr ConfigIntItem kMotor{1, 1, 2, 1};
inline constexpr ConfigIntItem kSimulation{1, 1, 3, 0};         // no line channel is opened
inline constexpr ConfigIntItem kResultsProgram{1, 1, 15, 0};    // 0..8
inline constexpr ConfigTextItem kComputerName{1, 1, 16, ""};    // of the computer running the range control
inline constexpr ConfigTextItem kUserName{1, 1, 500, ""};       // the range owner
inline constexpr ConfigTextItem kRangeName{1, 1, 501, ""};
constexpr ConfigTextItem Channel(int k) { return {1, 1, 530 + k, ""}; }  // k = 0..3
inline constexpr int kExchangeFolderKey = 570;                  // (1,1,570..578), 30 characters each
inline constexpr ConfigTextItem kSponsor1{1, 1, 621, ""};       // characters 1..30
inline constexpr ConfigTextItem kSponsor2{1, 1, 622, ""};       // the rest
inline constexpr ConfigIntItem kCurrentCompetition{1, 1, 680, 0};  // 0 the practice competition
constexpr ConfigIntItem UsbAdapter(int k) { return {1, 2, 530 + k, 0}; }       // k = 0..3
constexpr ConfigTextItem KnownUsbAdapter(int j) { return {1, j, 539, ""}; }    // j = 1..20

// Print settings.
inline constexpr ConfigIntItem kPrintBlackMark{32, 1, 1, 1};
inline constexpr ConfigIntItem kPrintPracticeShots{32, 1, 2, 1};
inline constexpr ConfigIntItem kPrintNames{32, 1, 3, 1};
inline constexpr ConfigIntItem kPrintTrueSize{32, 1, 4, 0};
inline constexpr ConfigIntItem kPrintGauge{32, 1, 5, 0};
inline constexpr ConfigIntItem kPrintAsList{32, 1, 6, 0};        // 0 graphical, 1 list
inline constexpr ConfigIntItem kPrintMargin{32, 1, 530, 15};     // millimetres
// Series per page; the card printing of the main frame reads it with 6.
inline constexpr ConfigIntItem kPrintSeriesPerPage{32, 1, 531, 8};
inline constexpr ConfigTextItem kPrintZoomLevels{32, 1, 700, "11111111111"};  // complete target, zoom 1..10

// What a new lane starts with.
inline constexpr ConfigIntItem kNewLaneTargetType{33, 1, 530, 0};
inline constexpr ConfigIntItem kNewLaneSensitivity{33, 1, 531, 2};
inline constexpr ConfigIntItem kNewLaneValueSystem{33, 1, 532, 1};
inline constexpr ConfigIntItem kNewLaneBandFrequency{33, 1, 533, 1};
inline constexpr ConfigIntItem kNewLaneBandLength{33, 1, 534, 20};

}  // namespace RangeItems

class CRangeSettings {
public:
    static constexpr const char* kConfigPath = ".\\BVLeder.bvc";
    static constexpr const char* kProfileSection = "Context";
    static constexpr int kChannels = 4;

    // The window layout and last choices, from the program's profile.
    struct Profile {
        int tab = 6;  // selected tab of the lane views
        int windowX0 = 0, windowX1 = 800, windowY0 = 0, windowY1 = 600;
        int toolOn = 1, statusOn = 1, tabOn = 1;
        int cardX0 = 0, cardX1 = 800, cardY0 = 0, cardY1 = 600;  // card dialog
        int lastComp = 1;  // written by the competition choice, not by SaveProfile
        int cardDetail = 0;
        std::string language;  // language code of the screens
    };

    CRangeSettings() = default;
    virtual ~CRangeSettings() = default;
    CRangeSettings(const CRangeSettings&) = delete;
    CRangeSettings& operator=(const CRangeSettings&) = delete;

    // Reads every profile value, each with its default when missing.
    void LoadProfile(platform::ProfileStore& store);
    void LoadProfile();
    // Writes the profile back, all but LastComp.
    void SaveProfile(platform::ProfileStore& store) const;
    void SaveProfile() const;

    // Opens .\BVLeder.bvc (made when missing) and reads the current competition.
    void OpenConfig();
    CBVConfig& Config() { return m_config; }
    int GetCurrentComp() const { return m_currentComp; }

    Profile profile;

    // Items of BVLeder.bvc that take more than one read or write. All take
    // the range configuration store, so the display and remote programs use
    // them on their own store of a range folder.
    static ChannelSetting ReadChannel(CBVConfig& store, int k);
    static int WriteChannel(CBVConfig& store, int k, const ChannelSetting& setting);
    // The device name of the USB line adapter numbered n: "BV1%05d".
    static std::string UsbDeviceName(int number);
    // The sponsor text: up to 30 characters in one item, the rest in another.
    static std::string ReadSponsor(CBVConfig& store);
    static int WriteSponsor(CBVConfig& store, const std::string& text);
    // The exchange folder for results programs, in nine pieces of 30.
    static std::string ReadExchangeFolder(CBVConfig& store);
    // The exchange folder as every program finds it, ending in a separator:
    // a relative folder lies below the range folder, as for the range
    // control that runs in it; an empty one is the range folder itself.
    static std::string ExchangeFolderIn(CBVConfig& store, const std::string& rangeFolder);
    static int WriteExchangeFolder(CBVConfig& store, const std::string& folder);
    // The range control's computer: its name at start, emptied at exit;
    // nothing when the file is not open.
    static void WriteComputerName(CBVConfig& store, const std::string& name);

private:
    CBVConfig m_config;
    int m_currentComp = 0;
};
