#pragma once
// The software loader's dialog: the service technician chooses the port and
// the kind of units, picks a software package of the program folder and
// loads it into the units of a range of lanes, asks them for their
// versions, configuration, counters and logs, restarts them and sets up
// target controllers (unit id, sensor, lamps, band advance, fall figures).
//
// The protocol is SoftwareLoader's; the dialog gives it its texts from a
// language table of its own (the range control's language file, in the
// language Run is given), its progress bar, and its 100 ms timer, and shows
// its rows in the list. Its settings live in .\Admin.ini.
#include "foundation/files/BVLog.h"
#include "foundation/settings/LanguageTable.h"
#include "line/loader/LoaderSettings.h"
#include "line/loader/SoftwareLoader.h"
#include "line/usb/CFTD2XX.h"
#include "platform/ui/Dialog.h"

#include <span>
#include <string>

class CBVSWLoad : public platform::Dialog, private LoaderTexts, private LoadProgress {
public:
    enum {
        IDD = 20000,
        IDC_TEST = 20020,
        IDC_VERSION = 20021,
        IDC_LIST = 20022,
        IDC_SEND = 20023,
        IDC_EXIT = 20024,
        IDC_PROGRESS = 20025,
        IDC_PORT_LABEL = 20026,
        IDC_PORT = 20027,
        IDC_RESTART = 20032,
        IDC_STOP = 20033,
        IDC_KIND_NONE = 20034,
        IDC_KIND_DISPLAY = 20035,
        IDC_GETLOG = 20036,
        IDC_DELLOG = 20037,
        IDC_COMMAND_GROUP = 20038,
        IDC_LANES_GROUP = 20039,
        IDC_KIND_GROUP = 20040,
        IDC_INTERFACE_GROUP = 20042,
        IDC_FROM_LABEL = 20043,
        IDC_FROM = 20044,
        IDC_TO_LABEL = 20045,
        IDC_TO = 20046,
        IDC_FROM_SPIN = 20047,
        IDC_TO_SPIN = 20048,
        IDC_PACKAGE = 20049,
        IDC_KIND_CONTROLLER = 20050,
        IDC_USBNR_LABEL = 20051,
        IDC_USBNR = 20052,
        IDC_KIND_BCONTROLLER = 20053,
        IDC_INFO = 20054,
        IDC_GETCONFIG = 20055,
        IDC_GETCOUNTERS = 20056,
        IDC_UNITID = 20057,
        IDC_SETID = 20059,
        IDC_SENSOR = 20066,
        IDC_GREEN = 20067,
        IDC_RED = 20068,
        IDC_LAMP_GROUP = 20069,
        IDC_ADVANCE = 20070,
        IDC_BLANK = 20071,
        IDC_ID_GROUP = 20074,
        IDC_SENSOR_GROUP = 20075,
        IDC_UNITTYPE = 20076,
        IDC_AIR = 20077,
        IDC_SMALLBORE = 20078,
        IDC_FULLBORE = 20079,
        IDC_MOTOR = 20080,
        IDC_FREQUENCY_LABEL = 20081,
        IDC_FREQUENCY = 20082,
        IDC_LENGTH_LABEL = 20083,
        IDC_LENGTH = 20084,
        IDC_UNITID_SPIN = 20085,
        IDC_FALL = 20086,
        IDC_FIGURE1 = 20087,  // ..20091
        IDC_SETFALL = 20092,
        IDC_FALL_GROUP = 20093,
        IDC_LANGUAGE = 20094,
        IDC_LANGUAGE_LABEL = 20095,
        IDC_PACKAGE_LABEL = 20096,
    };
    // The port list: an empty entry, COM1..COM9, then the USB adapter.
    static constexpr int kUsbEntry = SoftwareLoader::kUsbPort;
    // Item data of an adapter found on the computer: its number + this.
    static constexpr int kAdapterData = 100000;
    static constexpr int kTimer = 1;
    static constexpr int kTickMs = 100;
    static constexpr const char* kLanguageFile = ".\\BVRange.bvt";

    explicit CBVSWLoad(QWidget* parent = nullptr);
    ~CBVSWLoad() override;

    // Runs the loader the way the range control does: the settings read,
    // the dialog run modally in the language given, the settings written
    // back. A port (list index, 10 for the USB adapter named by usbNr)
    // takes the place of the saved one; builtIn are the texts when the
    // language file cannot be read.
    static int RunLoader(QWidget* owner, const std::string& languageCode,
                         std::span<const CLanguageTable::Entry> builtIn, int port = -1,
                         const std::string& usbNr = {});

    // Keeps the language of the texts and runs the dialog modally.
    int Run(const std::string& languageCode);
    void LoadSettings(const std::string& path = LoaderSettings::kPath);
    int SaveSettings(const std::string& path = LoaderSettings::kPath);
    // Texts used when the language file cannot be read.
    void SetBuiltInTexts(std::span<const CLanguageTable::Entry> texts) { m_builtIn = texts; }

    // The text of a key in the loader's language; "0" gives none.
    std::string GetText(const char* key) override;

    // What the owner may set before Run.
    std::string m_programName = "BVLeder";
    int m_port = 0;       // port list index
    std::string m_usbNr;  // the USB adapter's name, BV1 and five digits

    bool OnInitDialog() override;
    void OnOK() override {}  // Enter closes nothing here
    void OnCancel() override { OnExit(); }
    void OnTimer(int id) override;
    bool PreTranslateKey(QKeyEvent* event) override;

    SoftwareLoader& Loader() { return m_loader; }
    const std::string& LanguageCode() const { return m_language; }
    // The port the loader opens for the port list's choice: 0 none, 1..9
    // COM1..COM9, 10 the USB adapter.
    int PortChoice() const;

private:
    // LoadProgress: the progress bar.
    void SetRange(int low, int high) override;
    void SetPos(int position) override;

    void ApplyTexts();
    void FillPortList();
    void FillSoftwareList();
    void FillUnitTypeList();
    void ApplyUnitType();
    void ShowRows();
    void Refresh();
    void UpdateControls();
    int Ask(const std::string& text);
    void Tell(const std::string& text, platform::MessageIcon icon = platform::MessageIcon::Exclamation);
    bool ControllersOnly();
    bool TakeLaneRange();

    void OnPortChanged();
    void OnKindChanged();
    void ChangeKind(int kind);
    void OnRangeEdited();
    void OnSend();
    void OnVersion();
    void OnRestart();
    void OnStop();
    void OnGetLog();
    void OnDeleteLog();
    void OnTest();
    void OnExit();
    void OnSetId();
    void OnSensor();
    void OnLamps(int mode, int green, int red);
    void OnAdvance();
    void OnFallFigure();

    CLanguageTable m_table;
    std::span<const CLanguageTable::Entry> m_builtIn;
    std::string m_language = "NO";
    CBVLog m_log;
    SoftwareLoader m_loader;
    CFTD2XX m_driver;
    LoaderSettings m_settings;
    int m_shownState = -1;
    int m_rowsFirst = 0;
};
