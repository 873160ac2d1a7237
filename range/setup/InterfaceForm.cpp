#include "range/setup/InterfaceForm.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t kAdapterNameLength = 8;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void InterfaceForm::Load(CBVConfig& range)
{
    for (int k = 0; k < kChannels; ++k) {
        ChannelRow& row = channels[static_cast<size_t>(k)];
        row.first = 1;
        row.last = 10;
        // The lanes are raw bytes after the channel's type.
        std::string stored = ReadItem(range, RangeItems::Channel(k));
        if (stored.empty())
            continue;
        row.first = stored.size() > 1 ? static_cast<signed char>(stored[1]) : 0;
        if (row.first > 0)
            row.last = stored.size() > 2 ? static_cast<unsigned char>(stored[2]) : 0;
    }
    exchangeFolder = CRangeSettings::ReadExchangeFolder(range);
    userName = ReadItem(range, RangeItems::kUserName);
    sponsor = CRangeSettings::ReadSponsor(range);
    rangeName = ReadItem(range, RangeItems::kRangeName);
    external = ReadItem(range, RangeItems::kExternalEquipment);
    motor = ReadItem(range, RangeItems::kMotor);
    simulation = ReadItem(range, RangeItems::kSimulation);
    int program = ReadItem(range, RangeItems::kResultsProgram);
    resultsProgram = program >= 0 && program < kResultsPrograms ? program : -1;
}

std::array<int, InterfaceForm::kChannels> InterfaceForm::ReadCodes(CBVConfig& range)
{
    std::array<int, kChannels> codes{};
    for (int k = 0; k < kChannels; ++k) {
        int number = ReadItem(range, RangeItems::UsbAdapter(k));
        std::string stored = ReadItem(range, RangeItems::Channel(k));
        int type = stored.empty() ? 0 : static_cast<unsigned char>(stored[0]);
        codes[static_cast<size_t>(k)] = type <= kOutsideDevice ? -type : number;
    }
    return codes;
}

int InterfaceForm::CodeOfDevice(int device, int adapterNumber)
{
    if (device <= 0)
        return 0;
    return device < kFirstUsbDevice ? -device : adapterNumber;
}

int InterfaceForm::DeviceOfCode(int code, const std::vector<int>& usbNumbers)
{
    if (code > 0) {
        auto it = std::find(usbNumbers.begin(), usbNumbers.end(), code);
        return it == usbNumbers.end() ? 0 : kFirstUsbDevice + static_cast<int>(it - usbNumbers.begin());
    }
    return -code <= kOutsideDevice ? -code : 0;
}

InterfaceForm::Refusal InterfaceForm::CheckChannels() const
{
    for (size_t j = 0; j + 1 < channels.size(); ++j) {
        const ChannelRow& a = channels[j];
        if (a.device == 0)
            continue;
        for (size_t m = j + 1; m < channels.size(); ++m) {
            const ChannelRow& b = channels[m];
            const int numberJ = static_cast<int>(j) + 1;
            const int numberM = static_cast<int>(m) + 1;
            if (a.device == b.device && a.device < kOutsideDevice)
                return {"IDS_INTERFACE_WARN_PORT", numberM};
            if (a.first > a.last)
                return {"IDS_INTERFACE_WARN_INC", numberJ};
            // Any lane on both channels: a lane is served by one line only.
            if (b.device != 0 && b.first <= a.last && a.first <= b.last)
                return {"IDS_INTERFACE_WARN_RANGE", numberM};
            if (a.device >= kFirstUsbDevice && b.device >= kFirstUsbDevice && adapters[j] != 0 &&
                adapters[j] == adapters[m])
                return {"IDS_INTERFACE_WARN_USB", numberM};
        }
    }
    const ChannelRow& last = channels.back();
    if (last.device != 0 && last.first > last.last)
        return {"IDS_INTERFACE_WARN_INC", kChannels};
    return {};
}

std::string InterfaceForm::StoredExchangeFolder(int program) const
{
    std::string folder = exchangeFolder;
    if (program == 0 && !folder.empty()) {
        if (!EndsWith(folder, "\\"))
            folder += "\\";
        if (!EndsWith(folder, "BV\\"))
            folder += "BV\\";
    }
    return folder;
}

int InterfaceForm::ProgramToStore(CBVConfig& range) const
{
    return resultsProgram >= 0 ? resultsProgram : ReadItem(range, RangeItems::kResultsProgram);
}

int InterfaceForm::Write(CBVConfig& range) const
{
    int first = 0;
    auto note = [&first](int rc) {
        if (first == 0 && rc < 0)
            first = rc;
    };
    for (int k = 0; k < kChannels; ++k) {
        const ChannelRow& row = channels[static_cast<size_t>(k)];
        note(CRangeSettings::WriteChannel(range, k, {row.device, row.first, row.last}));
    }
    // Written from its last piece to its first, so a reader never joins a
    // new beginning to an old end.
    if (range.WriteLong(1, 1, RangeItems::kExchangeFolderKey, StoredExchangeFolder(ProgramToStore(range))) != 1)
        note(-1);
    note(CRangeSettings::WriteSponsor(range, sponsor));
    note(WriteItem(range, RangeItems::kUserName, userName));
    if (resultsProgram >= 0)
        note(WriteItem(range, RangeItems::kResultsProgram, resultsProgram));
    note(WriteItem(range, RangeItems::kRangeName, rangeName));
    note(WriteItem(range, RangeItems::kExternalEquipment, external));
    note(WriteItem(range, RangeItems::kMotor, motor));
    note(WriteItem(range, RangeItems::kSimulation, simulation));
    for (int k = 0; k < kChannels; ++k) {
        bool usb = channels[static_cast<size_t>(k)].device >= kFirstUsbDevice;
        note(WriteItem(range, RangeItems::UsbAdapter(k), usb ? adapters[static_cast<size_t>(k)] : 0));
    }
    return first;
}

namespace UsbAdapterList {

bool IsAdapterName(const std::string& text)
{
    return text.size() == kAdapterNameLength && text.compare(0, 3, "BV1") == 0 &&
           std::all_of(text.begin() + 3, text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int NumberOf(const std::string& name) { return name.size() > 3 ? std::atoi(name.c_str() + 3) : 0; }

std::vector<std::string> Read(CBVConfig& range)
{
    std::vector<std::string> names;
    for (int j = 1; j <= kMaxAdapters; ++j) {
        std::string text = ReadItem(range, RangeItems::KnownUsbAdapter(j));
        if (text.size() == kAdapterNameLength)
            names.push_back(text);
    }
    return names;
}

int Write(CBVConfig& range, const std::vector<std::string>& names)
{
    int first = 0;
    for (int j = 1; j <= kMaxAdapters; ++j) {
        size_t i = static_cast<size_t>(j - 1);
        std::string text = i < names.size() ? names[i].substr(0, kAdapterNameLength) : std::string();
        int rc = WriteItem(range, RangeItems::KnownUsbAdapter(j), text);
        if (first == 0)
            first = rc;
    }
    return first;
}

}  // namespace UsbAdapterList

namespace OutsideRangeTypes {

namespace {
constexpr int kMaxType = 31;
constexpr const char* kOfferSection = "RangeTypes";
constexpr const char* kChoiceSection = "BVLeder";
constexpr const char* kChoiceKey = "RangeType";
}  // namespace

std::vector<std::pair<int, std::string>> Offered(const std::string& offerFile)
{
    std::vector<std::pair<int, std::string>> types;
    CBVIniFile ini;
    if (ini.Open(offerFile) != 0)
        return types;
    for (int n = 0; n <= kMaxType; ++n) {
        std::string text = ini.GetString(kOfferSection, std::to_string(n));
        if (!text.empty())
            types.emplace_back(n, text);
    }
    return types;
}

int Chosen(const std::string& choiceFile)
{
    CBVIniFile ini;
    ini.Open(choiceFile);
    return ini.GetInt(kChoiceSection, kChoiceKey, kDefaultType);
}

int Choose(int type, const std::string& choiceFile)
{
    CBVIniFile ini;
    ini.PutInt(kChoiceSection, kChoiceKey, type);
    return ini.Write(choiceFile);
}

}  // namespace OutsideRangeTypes
