#pragma once
// What the interface dialog edits of the range configuration BVLeder.bvc,
// without the window: the four line channels (device, first and last lane),
// the USB line adapters the range knows, the names, the results program and
// its exchange folder, and the outside range system's range type, which
// lives in the outside system's own ini files. The dialog moves these values
// to and from its controls; the checks and writes of OK are here.
#include <array>
#include <string>
#include <utility>
#include <vector>

class CBVConfig;

// A channel's device is the index of its entry in the channel's device list:
// 0 none, 1..9 COM1..COM9, 10 the outside range system, 11 and up the USB
// line adapters of the range's list in list order. It is stored as the
// channel's type.
struct ChannelRow {
    int device = 0;
    int first = 1;
    int last = 10;
};

struct InterfaceForm {
    static constexpr int kChannels = 4;
    static constexpr int kOutsideDevice = 10;
    static constexpr int kFirstUsbDevice = 11;
    static constexpr int kMaxLane = 100;
    // The exchange folder's nine items of 30 characters.
    static constexpr size_t kMaxFolder = 270;
    static constexpr int kResultsPrograms = 9;

    std::string userName;
    std::string sponsor;         // two items of 30
    std::string rangeName;
    std::string exchangeFolder;
    int external = -1;           // the range's external equipment 0..5, -1 none chosen
    int motor = 0;
    int simulation = 0;
    int resultsProgram = -1;     // 0..8, -1 none chosen
    std::array<ChannelRow, kChannels> channels;
    // The adapter number of each channel whose device is a USB adapter, else 0.
    std::array<int, kChannels> adapters{};

    // The lanes, names, folder, switches and results program from the
    // file; the devices come from the channel codes, which Load leaves.
    void Load(CBVConfig& range);

    // A channel's device as a code that survives changes of the USB list:
    // 0 none, -1..-9 COM1..COM9, -10 the outside range system, or the
    // adapter number of a USB adapter.
    static std::array<int, kChannels> ReadCodes(CBVConfig& range);
    static int CodeOfDevice(int device, int adapterNumber);
    // The device of a code, given the adapter numbers of the USB entries in
    // list order; 0 (none) for an adapter no longer listed.
    static int DeviceOfCode(int code, const std::vector<int>& usbNumbers);

    // The first channel set-up that cannot run, with the channel number to
    // name in its message (1..4); key null when all can. Two channels on
    // one serial port or one USB adapter, a first lane above the last, and
    // two channels sharing a lane are refused.
    struct Refusal {
        const char* key = nullptr;
        int channel = 0;
    };
    Refusal CheckChannels() const;

    // The exchange folder as OK stores it: for the system's own results
    // program (0) it ends in "\" and "BV\".
    std::string StoredExchangeFolder(int program) const;
    // The results program OK stores: the one chosen, else the stored one.
    int ProgramToStore(CBVConfig& range) const;

    // Writes every item of OK in its order; a results program not chosen
    // keeps the stored one. 0, or the first failed write's result.
    int Write(CBVConfig& range) const;
};

// The USB line adapters a range knows: texts "BV1" and five digits, kept at
// (1, j, 539) for j 1..20.
namespace UsbAdapterList {

inline constexpr int kMaxAdapters = 20;

// "BV1" and five digits.
bool IsAdapterName(const std::string& text);
// The number of the five digits.
int NumberOf(const std::string& name);
// Every stored text of eight characters, in key order.
std::vector<std::string> Read(CBVConfig& range);
// The list from (1,1,539) on, each cut to eight characters, the rest of the
// twenty emptied.
int Write(CBVConfig& range, const std::vector<std::string>& names);

}  // namespace UsbAdapterList

// The outside range system's range types: offered in its .\DADErevo.ini
// ([RangeTypes] keys "0".."31"), the chosen one in its .\RCI.INI
// ([BVLeder] RangeType).
namespace OutsideRangeTypes {

inline constexpr const char* kOfferFile = ".\\DADErevo.ini";
inline constexpr const char* kChoiceFile = ".\\RCI.INI";
inline constexpr int kDefaultType = 4;

// The types with a text, by number.
std::vector<std::pair<int, std::string>> Offered(const std::string& offerFile = kOfferFile);
int Chosen(const std::string& choiceFile = kChoiceFile);
// Writes the choice at once; 0 or -1.
int Choose(int type, const std::string& choiceFile = kChoiceFile);

}  // namespace OutsideRangeTypes
