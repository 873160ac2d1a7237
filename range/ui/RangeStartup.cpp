#include "range/ui/RangeStartup.h"

#include "foundation/comp/FileFaults.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/files/FileSystem.h"
#include "platform/ui/Prompter.h"
#include "range/ui/MainFrm.h"

#include <cctype>

namespace {

// The word after the program's name that starts the workshop mode, in which
// the program only loads software into target units.
constexpr const char* kProductionWord = "VERKSTEDER";

bool HasChannelSettings(CBVConfig& config)
{
    for (int k = 0; k < CRangeSettings::kChannels; ++k)
        if (!ReadItem(config, RangeItems::Channel(k)).empty())
            return true;
    return false;
}

}  // namespace

bool RangeStartup::IsProductionMode(const std::string& commandLine)
{
    std::string upper;
    for (char c : commandLine)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    size_t blank = upper.find(' ');
    if (blank == std::string::npos)
        return false;
    size_t start = upper.find_first_not_of(' ', blank);
    if (start == std::string::npos)
        return false;
    size_t end = upper.find(' ', start);
    return upper.substr(start, end == std::string::npos ? std::string::npos : end - start) == kProductionWord;
}

int RangeStartup::Run()
{
    RangeObjects& obj = m_frame.Objects();
    RangeControl& range = m_frame.Range();
    CDataComp& comp = obj.comp;

    if (CBVFileEx::TestFolder(".\\") == 0) {
        BV_LOG(m_log, 80, "Failed to get access to working directory!");
        platform::MessageBox(obj.language.GetText("IDS_WRN_ACCESS"));
        return -1;
    }

    // A range configuration that cannot be read is left as it is: the range
    // does not run on defaults that would overwrite it.
    if (!platform::FileExists(CRangeSettings::kConfigPath))
        BV_LOG(m_log, 80, "BVLeder.bvc: missing, made anew");
    else if (std::string fault = ConfigFileFault(CRangeSettings::kConfigPath); !fault.empty())
        return Refuse("BVLeder.bvc: " + fault);
    // Without its shooting programs the range runs on; the lanes get none.
    if (std::string fault = ConfigFileFault(".\\Program.BVC"); !fault.empty())
        BV_LOG(m_log, 80, "Program.BVC: %s", fault.c_str());

    obj.settings.OpenConfig();
    CBVConfig& config = obj.settings.Config();
    if (config.IsOpen())
        config.Refresh();

    // A range that never chose its language does so first.
    if (obj.settings.profile.language.empty())
        m_frame.Setup().OnLanguage();

    // A range without any line channel is set up before it opens a competition.
    if (config.IsOpen() && !HasChannelSettings(config))
        m_frame.Setup().RunInterfaceDialog();

    // A range folder that never chose a competition has none, rather than
    // the practice competition the item's default would give.
    constexpr ConfigIntItem kStoredCompetition{1, 1, 680, -1};
    int competition = obj.settings.GetCurrentComp();
    if (config.IsOpen() && ReadItem(config, kStoredCompetition) < 0)
        competition = -1;
    if (competition < 0 || CBVFileEx::TestFolder(CompSettings::FolderOf(".\\", competition)) == 0) {
        // The officer chooses another competition, which becomes the range's.
        m_frame.Competitions().OnCompetitionChoice();
        if (config.IsOpen())
            competition = ReadItem(config, kStoredCompetition);
        comp.Close();
        m_frame.Competitions().SetComputerName(false);
    }
    if (competition < 0) {
        BV_LOG(m_log, 80, "No valid competition selected!");
        // The range did not start: the program ends with a failing status.
        failed = true;
        platform::MessageBox(obj.language.GetText("IDS_WRN_NOCOMP"));
        return -1;
    }
    // A competition that is not there is named as such, not as a folder
    // that cannot be written.
    if (!platform::FolderExists(CompSettings::FolderOf(".\\", competition)))
        return Refuse(CompSettings::FolderOf("", competition) + ": missing");
    if (CBVFileEx::TestFolder(CompSettings::FolderOf(".\\", competition)) == 0) {
        BV_LOG(m_log, 80, "Failed to get access to comp%d directory!", competition);
        platform::MessageBox(obj.language.GetText("IDS_WRN_ACCESS"));
        return -1;
    }
    // A competition file that cannot be read is named once and left alone,
    // rather than failing on every lane and every tick.
    if (std::string fault = CompetitionFault(".\\", competition, true, true); !fault.empty())
        return Refuse(CompSettings::FolderOf("", competition) + "\\" + fault);

    comp.Open(competition, 1);
    m_frame.Competitions().SetComputerName(true);
    m_frame.OpenPorts();
    range.files.CheckFiles(true);
    // The outside system's lanes the competition enables go under remote control.
    range.channels.UpdateOutsideControl();
    range.files.ReloadShots(true);
    m_frame.RefreshViews();
    range.files.RefreshChangedRows();
    m_frame.RankLanes();
    m_frame.Views().UpdateTitle();
    range.records.WriteActive(0, 0);
    // The lane list heads its relay column by start number or relay, and
    // every menu, view and title text is the language's.
    m_frame.Views().SetMenuTexts(false);
    return obj.CompetitionNumber();
}

int RangeStartup::Refuse(const std::string& fileAndFault)
{
    BV_LOG(m_log, 90, "%s", fileAndFault.c_str());
    failed = true;
    platform::MessageBox(m_frame.Objects().language.GetText("IDS_WRN_DAMAGED") + "\n" + fileAndFault);
    return -1;
}

