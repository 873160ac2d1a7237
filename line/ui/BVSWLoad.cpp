#include "line/ui/BVSWLoad.h"

#include "line/UnitModels.h"
#include "line/loader/SoftwarePackages.h"
#include "platform/system/StringFormat.h"
#include "platform/ui/Prompter.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using C = CBVSWLoad;

constexpr uint32_t kStretch = platform::CS_STRETCH;

// Controls keyed by the loader's own texts get them when it opens; the
// service controls keep their template texts.
const ControlTemplate kControls[] = {
    // Loading commands, with the package to load.
    {.id = C::IDC_COMMAND_GROUP, .kind = ControlKind::Group, .row = 0, .col = 0},
    {.id = C::IDC_LANGUAGE_LABEL, .kind = ControlKind::Static, .parent = C::IDC_COMMAND_GROUP, .row = 0, .col = 0},
    {.id = C::IDC_LANGUAGE, .kind = ControlKind::ComboList, .parent = C::IDC_COMMAND_GROUP, .row = 0, .col = 1,
     .colSpan = 3},
    {.id = C::IDC_PACKAGE_LABEL, .kind = ControlKind::Static, .parent = C::IDC_COMMAND_GROUP, .row = 1, .col = 0},
    {.id = C::IDC_PACKAGE, .kind = ControlKind::ComboList, .parent = C::IDC_COMMAND_GROUP, .row = 1, .col = 1,
     .colSpan = 3},
    {.id = C::IDC_VERSION, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 2, .col = 0},
    {.id = C::IDC_SEND, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 2, .col = 1},
    {.id = C::IDC_STOP, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 2, .col = 2},
    {.id = C::IDC_RESTART, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 2, .col = 3},
    {.id = C::IDC_GETCONFIG, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 3, .col = 0},
    {.id = C::IDC_GETCOUNTERS, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 3, .col = 1},
    {.id = C::IDC_GETLOG, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 3, .col = 2},
    {.id = C::IDC_DELLOG, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 3, .col = 3},
    {.id = C::IDC_TEST, .kind = ControlKind::Button, .parent = C::IDC_COMMAND_GROUP, .row = 4, .col = 0,
     .text = "Test", .style = platform::CS_HIDDEN},

    // Where the units are.
    {.id = C::IDC_INTERFACE_GROUP, .kind = ControlKind::Group, .row = 0, .col = 1},
    {.id = C::IDC_PORT_LABEL, .kind = ControlKind::Static, .parent = C::IDC_INTERFACE_GROUP, .row = 0, .col = 0},
    {.id = C::IDC_PORT, .kind = ControlKind::ComboList, .parent = C::IDC_INTERFACE_GROUP, .row = 0, .col = 1},
    {.id = C::IDC_USBNR_LABEL, .kind = ControlKind::Static, .parent = C::IDC_INTERFACE_GROUP, .row = 1, .col = 0},
    {.id = C::IDC_USBNR, .kind = ControlKind::Edit, .parent = C::IDC_INTERFACE_GROUP, .row = 1, .col = 1,
     .limit = 8},

    {.id = C::IDC_KIND_GROUP, .kind = ControlKind::Group, .row = 0, .col = 2},
    {.id = C::IDC_KIND_NONE, .kind = ControlKind::Radio, .parent = C::IDC_KIND_GROUP, .row = 0, .col = 0,
     .style = platform::CS_GROUP},
    {.id = C::IDC_KIND_DISPLAY, .kind = ControlKind::Radio, .parent = C::IDC_KIND_GROUP, .row = 1, .col = 0},
    {.id = C::IDC_KIND_CONTROLLER, .kind = ControlKind::Radio, .parent = C::IDC_KIND_GROUP, .row = 2, .col = 0},
    {.id = C::IDC_KIND_BCONTROLLER, .kind = ControlKind::Radio, .parent = C::IDC_KIND_GROUP, .row = 3, .col = 0,
     .text = "B-Skive (CU-B)", .style = platform::CS_HIDDEN},

    {.id = C::IDC_LANES_GROUP, .kind = ControlKind::Group, .row = 0, .col = 3},
    {.id = C::IDC_FROM_LABEL, .kind = ControlKind::Static, .parent = C::IDC_LANES_GROUP, .row = 0, .col = 0},
    {.id = C::IDC_FROM, .kind = ControlKind::Edit, .parent = C::IDC_LANES_GROUP, .row = 0, .col = 1,
     .style = platform::CS_NUMBER, .limit = 2},
    {.id = C::IDC_FROM_SPIN, .kind = ControlKind::Spin, .parent = C::IDC_LANES_GROUP, .row = 0, .col = 2,
     .buddy = C::IDC_FROM, .min = 1, .max = 99},
    {.id = C::IDC_TO_LABEL, .kind = ControlKind::Static, .parent = C::IDC_LANES_GROUP, .row = 1, .col = 0},
    {.id = C::IDC_TO, .kind = ControlKind::Edit, .parent = C::IDC_LANES_GROUP, .row = 1, .col = 1,
     .style = platform::CS_NUMBER, .limit = 2},
    {.id = C::IDC_TO_SPIN, .kind = ControlKind::Spin, .parent = C::IDC_LANES_GROUP, .row = 1, .col = 2,
     .buddy = C::IDC_TO, .min = 1, .max = 99},

    // The lanes, what goes on, and how far it has come.
    {.id = C::IDC_LIST, .kind = ControlKind::ListView, .row = 1, .col = 0, .colSpan = 4, .style = kStretch},
    {.id = C::IDC_INFO, .kind = ControlKind::Static, .row = 2, .col = 0},
    {.id = C::IDC_PROGRESS, .kind = ControlKind::Progress, .row = 2, .col = 1, .colSpan = 3},

    // Service commands for target controllers.
    {.id = C::IDC_SENSOR_GROUP, .kind = ControlKind::Group, .row = 3, .col = 0, .text = "Sensoroppsett"},
    {.id = C::IDC_UNITTYPE, .kind = ControlKind::ComboList, .parent = C::IDC_SENSOR_GROUP, .row = 0, .col = 0,
     .colSpan = 4},
    {.id = C::IDC_AIR, .kind = ControlKind::Radio, .parent = C::IDC_SENSOR_GROUP, .row = 1, .col = 0,
     .text = "&Luft", .style = platform::CS_GROUP},
    {.id = C::IDC_SMALLBORE, .kind = ControlKind::Radio, .parent = C::IDC_SENSOR_GROUP, .row = 1, .col = 1,
     .text = "&Fin"},
    {.id = C::IDC_FULLBORE, .kind = ControlKind::Radio, .parent = C::IDC_SENSOR_GROUP, .row = 1, .col = 2,
     .text = "&Grov"},
    {.id = C::IDC_FREQUENCY_LABEL, .kind = ControlKind::Static, .parent = C::IDC_SENSOR_GROUP, .row = 2, .col = 0,
     .text = "Frekvens"},
    {.id = C::IDC_FREQUENCY, .kind = ControlKind::Edit, .parent = C::IDC_SENSOR_GROUP, .row = 2, .col = 1,
     .style = platform::CS_NUMBER, .limit = 3},
    {.id = C::IDC_LENGTH_LABEL, .kind = ControlKind::Static, .parent = C::IDC_SENSOR_GROUP, .row = 2, .col = 2,
     .text = "Lengde"},
    {.id = C::IDC_LENGTH, .kind = ControlKind::Edit, .parent = C::IDC_SENSOR_GROUP, .row = 2, .col = 3,
     .style = platform::CS_NUMBER, .limit = 3},
    {.id = C::IDC_MOTOR, .kind = ControlKind::Check, .parent = C::IDC_SENSOR_GROUP, .row = 3, .col = 0,
     .colSpan = 2, .text = "Ekstern motor"},
    {.id = C::IDC_SENSOR, .kind = ControlKind::Button, .parent = C::IDC_SENSOR_GROUP, .row = 3, .col = 2,
     .colSpan = 2, .text = "Sett sensor (F6)"},

    {.id = C::IDC_ID_GROUP, .kind = ControlKind::Group, .row = 3, .col = 1, .text = "Skivenummer"},
    {.id = C::IDC_UNITID, .kind = ControlKind::Edit, .parent = C::IDC_ID_GROUP, .row = 0, .col = 0,
     .style = platform::CS_NUMBER, .limit = 2},
    {.id = C::IDC_UNITID_SPIN, .kind = ControlKind::Spin, .parent = C::IDC_ID_GROUP, .row = 0, .col = 1,
     .buddy = C::IDC_UNITID, .min = 1, .max = 99},
    {.id = C::IDC_SETID, .kind = ControlKind::Button, .parent = C::IDC_ID_GROUP, .row = 1, .col = 0, .colSpan = 2,
     .text = "Sett ID (F4)"},

    {.id = C::IDC_LAMP_GROUP, .kind = ControlKind::Group, .row = 3, .col = 2, .text = "Lamper og motor"},
    {.id = C::IDC_GREEN, .kind = ControlKind::Button, .parent = C::IDC_LAMP_GROUP, .row = 0, .col = 0,
     .text = "Gr\xF8nn (F7)"},
    {.id = C::IDC_RED, .kind = ControlKind::Button, .parent = C::IDC_LAMP_GROUP, .row = 0, .col = 1,
     .text = "R\xF8" "d (F8)"},
    {.id = C::IDC_ADVANCE, .kind = ControlKind::Button, .parent = C::IDC_LAMP_GROUP, .row = 1, .col = 0,
     .text = "Fremtrekk (F9)"},
    {.id = C::IDC_BLANK, .kind = ControlKind::Button, .parent = C::IDC_LAMP_GROUP, .row = 1, .col = 1,
     .text = "Blank"},

    {.id = C::IDC_FALL_GROUP, .kind = ControlKind::Group, .row = 3, .col = 3, .text = "Fallfigur"},
    {.id = C::IDC_FALL, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 0, .col = 0, .colSpan = 5,
     .text = "Fallfigur"},
    {.id = C::IDC_FIGURE1, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 1, .col = 0, .text = "1"},
    {.id = C::IDC_FIGURE1 + 1, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 1, .col = 1,
     .text = "2"},
    {.id = C::IDC_FIGURE1 + 2, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 1, .col = 2,
     .text = "3"},
    {.id = C::IDC_FIGURE1 + 3, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 1, .col = 3,
     .text = "4"},
    {.id = C::IDC_FIGURE1 + 4, .kind = ControlKind::Check, .parent = C::IDC_FALL_GROUP, .row = 1, .col = 4,
     .text = "5"},
    {.id = C::IDC_SETFALL, .kind = ControlKind::Button, .parent = C::IDC_FALL_GROUP, .row = 2, .col = 0,
     .colSpan = 5, .text = "Sett Fallfigur"},

    {.id = C::IDC_EXIT, .kind = ControlKind::Button, .row = 4, .col = 3},
};

const platform::DialogTemplate kTemplate{.id = CBVSWLoad::IDD, .cx = 640, .cy = 400, .controls = kControls};

// The controls that show a text of the loader's language.
struct KeyedControl {
    int id;
    const char* key;
};
const KeyedControl kKeyed[] = {
    {C::IDC_COMMAND_GROUP, "C_BVSWLOAD_STRING_STATIC_CMD"},
    {C::IDC_VERSION, "C_BVSWLOAD_STRING_BUTTON_VER"},
    {C::IDC_SEND, "C_BVSWLOAD_STRING_BUTTON_SEND"},
    {C::IDC_RESTART, "C_BVSWLOAD_STRING_BUTTON_RESTART"},
    {C::IDC_STOP, "C_BVSWLOAD_STRING_BUTTON_STOP"},
    {C::IDC_GETLOG, "C_BVSWLOAD_STRING_BUTTON_GETLOG"},
    {C::IDC_DELLOG, "C_BVSWLOAD_STRING_BUTTON_DELLOG"},
    {C::IDC_GETCONFIG, "C_BVSWLOAD_STRING_BUTTON_GETCONFIG"},
    {C::IDC_GETCOUNTERS, "C_BVSWLOAD_STRING_BUTTON_GETCOUNTERS"},
    {C::IDC_EXIT, "C_BVSWLOAD_STRING_BUTTON_EXIT"},
    {C::IDC_LANGUAGE_LABEL, "C_BVSWLOAD_STRING_STATIC_LANG"},
    {C::IDC_PACKAGE_LABEL, "C_BVSWLOAD_STRING_STATIC_SW"},
    {C::IDC_INTERFACE_GROUP, "C_BVSWLOAD_STRING_STATIC_INTERFACE"},
    {C::IDC_PORT_LABEL, "C_BVSWLOAD_STRING_STATIC_PORT"},
    {C::IDC_USBNR_LABEL, "C_BVSWLOAD_STRING_STATIC_USBNR"},
    {C::IDC_KIND_GROUP, "C_BVSWLOAD_STRING_STATIC_UNIT"},
    {C::IDC_KIND_NONE, "C_BVSWLOAD_STRING_RADIO"},
    {C::IDC_KIND_DISPLAY, "C_BVSWLOAD_STRING_RADIO2"},
    {C::IDC_KIND_CONTROLLER, "C_BVSWLOAD_STRING_RADIO3"},
    {C::IDC_LANES_GROUP, "C_BVSWLOAD_STRING_STATIC_ADM"},
    {C::IDC_FROM_LABEL, "C_BVSWLOAD_STRING_STATIC_FROM"},
    {C::IDC_TO_LABEL, "C_BVSWLOAD_STRING_STATIC_TO"},
};

// Commands that only go to the units of the chosen kind, enabled together.
const int kUnitCommands[] = {C::IDC_VERSION,  C::IDC_SEND,    C::IDC_RESTART, C::IDC_GETLOG,  C::IDC_DELLOG,
                             C::IDC_GETCONFIG, C::IDC_GETCOUNTERS, C::IDC_TEST, C::IDC_SETID, C::IDC_SENSOR,
                             C::IDC_GREEN,    C::IDC_RED,     C::IDC_ADVANCE, C::IDC_BLANK,   C::IDC_SETFALL};
// What may only change while nothing is being loaded or read.
const int kChoices[] = {C::IDC_PORT,      C::IDC_USBNR, C::IDC_KIND_NONE, C::IDC_KIND_DISPLAY, C::IDC_KIND_CONTROLLER,
                        C::IDC_KIND_BCONTROLLER, C::IDC_FROM, C::IDC_FROM_SPIN, C::IDC_TO,   C::IDC_TO_SPIN,
                        C::IDC_LANGUAGE,  C::IDC_PACKAGE};

// The package language list after its empty entry.
const char* const kLanguages[] = {"", "NO", "DK", "SE", "EN", "DE"};

// The service commands' keys.
struct ServiceKey {
    int key;
    int button;
};
const ServiceKey kServiceKeys[] = {{Qt::Key_F4, C::IDC_SETID},
                                   {Qt::Key_F6, C::IDC_SENSOR},
                                   {Qt::Key_F7, C::IDC_GREEN},
                                   {Qt::Key_F8, C::IDC_RED},
                                   {Qt::Key_F9, C::IDC_ADVANCE}};

int LanguageEntry(const std::string& code)
{
    for (int k = 1; k < 6; ++k)
        if (code == kLanguages[k])
            return k;
    return 0;
}

}  // namespace

CBVSWLoad::CBVSWLoad(QWidget* parent) : platform::Dialog(kTemplate, parent), m_loader(*this)
{
    m_loader.SetProgress(this);
    OnSelChange(IDC_PORT, [this] { OnPortChanged(); });
    for (int id : {IDC_KIND_NONE, IDC_KIND_DISPLAY, IDC_KIND_CONTROLLER, IDC_KIND_BCONTROLLER})
        OnClick(id, [this] { OnKindChanged(); });
    OnChange(IDC_USBNR, [this] { m_usbNr = item(IDC_USBNR).text(); });
    OnChange(IDC_FROM, [this] { OnRangeEdited(); });
    OnChange(IDC_TO, [this] { OnRangeEdited(); });
    OnSelChange(IDC_LANGUAGE, [this] {
        FillSoftwareList();
        UpdateControls();
    });
    OnSelChange(IDC_PACKAGE, [this] { UpdateControls(); });
    OnSelChange(IDC_UNITTYPE, [this] { ApplyUnitType(); });

    OnClick(IDC_VERSION, [this] { OnVersion(); });
    OnClick(IDC_SEND, [this] { OnSend(); });
    OnClick(IDC_RESTART, [this] { OnRestart(); });
    OnClick(IDC_STOP, [this] { OnStop(); });
    OnClick(IDC_GETLOG, [this] { OnGetLog(); });
    OnClick(IDC_DELLOG, [this] { OnDeleteLog(); });
    OnClick(IDC_GETCONFIG, [this] {
        m_loader.RequestConfiguration();
        Refresh();
    });
    OnClick(IDC_GETCOUNTERS, [this] {
        m_loader.RequestCounters();
        Refresh();
    });
    OnClick(IDC_TEST, [this] { OnTest(); });
    OnClick(IDC_EXIT, [this] { OnExit(); });

    OnClick(IDC_SETID, [this] { OnSetId(); });
    OnClick(IDC_SENSOR, [this] { OnSensor(); });
    OnClick(IDC_GREEN, [this] { OnLamps(1, 100, 255); });
    OnClick(IDC_RED, [this] { OnLamps(2, 255, 100); });
    OnClick(IDC_BLANK, [this] { OnLamps(0, 255, 255); });
    OnClick(IDC_ADVANCE, [this] { OnAdvance(); });
    OnClick(IDC_SETFALL, [this] { OnFallFigure(); });
}

CBVSWLoad::~CBVSWLoad()
{
    KillTimer(kTimer);
    m_loader.CloseLine();
}

int CBVSWLoad::RunLoader(QWidget* owner, const std::string& languageCode,
                         std::span<const CLanguageTable::Entry> builtIn, int port, const std::string& usbNr)
{
    CBVSWLoad loader(owner);
    loader.SetBuiltInTexts(builtIn);
    loader.LoadSettings();
    if (port >= 0) {
        loader.m_port = port;
        if (port == kUsbEntry)
            loader.m_usbNr = usbNr;
    }
    int result = loader.Run(languageCode);
    loader.SaveSettings();
    return result;
}

int CBVSWLoad::Run(const std::string& languageCode)
{
    m_language = languageCode;
    return DoModal();
}

void CBVSWLoad::LoadSettings(const std::string& path)
{
    m_settings.usbNr = m_usbNr;
    m_settings.Load(path);
    m_usbNr = m_settings.usbNr;
    m_port = m_settings.com;
}

int CBVSWLoad::SaveSettings(const std::string& path)
{
    m_settings.usbNr = m_usbNr;
    m_settings.com = m_port;
    m_settings.first = m_loader.First();
    m_settings.last = m_loader.Last();
    return m_settings.Save(path);
}

std::string CBVSWLoad::GetText(const char* key)
{
    if (std::string(key) == "0")
        return {};
    std::string text = m_table.GetText(key);
    if (text.empty())
        BV_LOG(m_log, 90, "String NO.%s not found", key);
    return text;
}

// --- Opening ---

bool CBVSWLoad::OnInitDialog()
{
    if (m_table.Load(kLanguageFile, m_language) < 0 || m_table.GetCount() == 0) {
        BV_LOG(m_log, 90, "BVRange.bvt: cannot be read in %s", m_language.c_str());
        if (!m_builtIn.empty())
            m_table.LoadBuiltIn(m_builtIn);
    }
    ApplyTexts();
    m_loader.Stop();
    SetTimer(kTimer, kTickMs);

    platform::Control list = item(IDC_LIST);
    list.insertColumn(0, GetText("C_BVSWLOAD_STRING_COL_LANE"), 40, true);
    list.insertColumn(1, GetText("C_BVSWLOAD_STRING_COL_STATE"), 75);
    list.insertColumn(2, GetText("C_BVSWLOAD_STRING_COL_SND"), 150);
    list.insertColumn(3, GetText("C_BVSWLOAD_STRING_COL_RCV"), 150);
    list.insertColumn(4, GetText("C_BVSWLOAD_STRING_COL_COMMENT"), 250);
    for (int spin : {IDC_FROM_SPIN, IDC_TO_SPIN, IDC_UNITID_SPIN})
        item(spin).setRange(1, 99);

    m_loader.SetLaneRange(m_settings.first, m_settings.last);
    item(IDC_FROM).setNumber(m_loader.First());
    item(IDC_TO).setNumber(m_loader.Last());
    item(IDC_UNITID).setNumber(m_loader.First());
    item(IDC_USBNR).setText(m_usbNr);
    int saved = m_port;
    FillPortList();
    item(IDC_PORT).setSelection(0);
    OnPortChanged();
    item(IDC_PORT).setSelection(saved >= 0 && saved < item(IDC_PORT).count() ? saved : 0);
    m_port = PortChoice();
    item(IDC_KIND_NONE).setSelection(0);
    OnKindChanged();

    platform::Control languages = item(IDC_LANGUAGE);
    for (const char* code : kLanguages)
        languages.addItem(code);
    FillSoftwareList();
    FillUnitTypeList();
    UpdateControls();
    return true;
}

void CBVSWLoad::ApplyTexts()
{
    SetCaption(GetText("C_BVSWLOAD_STRING_CAPTION"));
    for (const KeyedControl& k : kKeyed)
        item(k.id).setText(GetText(k.key));
}

void CBVSWLoad::FillPortList()
{
    platform::Control ports = item(IDC_PORT);
    ports.resetContent();
    ports.addItem("", 0);
    for (int com = 1; com <= 9; ++com)
        ports.addItem(platform::StringFormat("COM%d", com), com);
    ports.addItem("USB", kUsbEntry);
    // The adapters plugged in, each as the USB port with its name.
    DWORD count = 0;
    if (m_driver.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY) != FT_OK) {
        // Serial ports work without the driver: the list stays usable.
        platform::MessageBox("Det er ingen USB-Adaptere tilkoblet datamaskinen eller driverene er ikke installert.",
                             "Obs!", platform::MessageIcon::Exclamation);
        return;
    }
    for (DWORD k = 0; k < count; ++k) {
        char serial[64] = {};
        if (m_driver.ListDevices(reinterpret_cast<void*>(static_cast<uintptr_t>(k)), serial,
                                 FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER) != FT_OK)
            continue;
        std::string name(serial, strnlen(serial, sizeof serial));
        if (name.size() != 8 || name.compare(0, 3, "BV1") != 0)
            continue;
        int data = kAdapterData + std::atoi(name.c_str() + 3);
        if (ports.findItemData(data) < 0)
            ports.addItem(name, data);
    }
}

void CBVSWLoad::FillSoftwareList()
{
    int kind = m_loader.Kind();
    std::string language;
    if (kind <= SoftwareLoader::kDisplayUnits) {
        platform::Control languages = item(IDC_LANGUAGE);
        int entry = languages.selection();
        if (entry < 0) {
            entry = LanguageEntry(m_language);
            languages.setSelection(entry);
        }
        language = entry > 0 && entry < 6 ? kLanguages[entry] : "";
    }
    platform::Control packages = item(IDC_PACKAGE);
    packages.resetContent();
    for (const SoftwarePackage& p : ListSoftwarePackages(".", kind, language))
        packages.addItem(p.name, p.selfExtracting ? 1 : 0);
    packages.setSelection(packages.count() - 1);
}

void CBVSWLoad::FillUnitTypeList()
{
    platform::Control types = item(IDC_UNITTYPE);
    types.resetContent();
    for (const UnitType& t : kUnitTypes)
        types.addItem(t.name, t.code);
    int sensor = std::clamp(m_settings.sensor, 0, types.count() - 1);
    types.setSelection(sensor);
    ApplyUnitType();
}

void CBVSWLoad::ApplyUnitType()
{
    platform::Control types = item(IDC_UNITTYPE);
    int index = types.selection();
    if (index < 0)
        return;
    int code = static_cast<int>(types.itemData(index));
    SoftwareLoader::SensorDefaults d = SoftwareLoader::DefaultsForUnitType(code);
    item(IDC_AIR).setSelection(d.weaponClass);
    item(IDC_FREQUENCY).setNumber(d.frequency);
    item(IDC_LENGTH).setNumber(d.length);
    m_settings.sensor = index;
}

// --- What the dialog shows ---

void CBVSWLoad::SetRange(int low, int high) { item(IDC_PROGRESS).setRange(low, high); }

void CBVSWLoad::SetPos(int position) { item(IDC_PROGRESS).setPos(position); }

void CBVSWLoad::ShowRows()
{
    platform::Control list = item(IDC_LIST);
    if (!m_loader.LineOpen()) {
        if (list.count() > 0)
            list.resetContent();
        return;
    }
    int first = m_loader.First(), last = m_loader.Last();
    if (list.count() != last - first + 1 || m_rowsFirst != first) {
        list.resetContent();
        for (int lane = first; lane <= last; ++lane)
            list.addItem(std::to_string(lane), lane);
        m_rowsFirst = first;
    }
    for (int lane = first; lane <= last; ++lane) {
        int row = lane - first;
        for (int column = SoftwareLoader::kColState; column <= SoftwareLoader::kColComment; ++column) {
            const std::string& text = m_loader.Cell(lane, column);
            if (list.itemText(row, column) != text)
                list.setItemText(row, column, text);
        }
    }
}

void CBVSWLoad::Refresh()
{
    ShowRows();
    if (item(IDC_INFO).text() != m_loader.Information())
        item(IDC_INFO).setText(m_loader.Information());
    if (m_loader.State() != m_shownState)
        UpdateControls();
}

void CBVSWLoad::UpdateControls()
{
    m_shownState = m_loader.State();
    bool busy = m_loader.State() >= 2;
    bool unitsChosen = m_loader.Kind() != SoftwareLoader::kNone && m_loader.LineOpen();
    for (int id : kChoices)
        item(id).enable(!busy);
    for (int id : kUnitCommands)
        item(id).enable(!busy && unitsChosen);
    for (int k = 0; k < 5; ++k)
        item(IDC_FIGURE1 + k).enable(!busy && unitsChosen);
    for (int id : {IDC_UNITID, IDC_UNITID_SPIN, IDC_UNITTYPE, IDC_AIR, IDC_SMALLBORE, IDC_FULLBORE, IDC_FREQUENCY,
                   IDC_LENGTH, IDC_MOTOR, IDC_FALL})
        item(id).enable(!busy && unitsChosen);
    item(IDC_SEND).enable(!busy && unitsChosen && item(IDC_PACKAGE).selection() >= 0);
    item(IDC_STOP).enable(unitsChosen);
}

int CBVSWLoad::Ask(const std::string& text)
{
    return platform::MessageBox(text, m_programName, platform::MessageIcon::Question, platform::MessageButtons::YesNo);
}

void CBVSWLoad::Tell(const std::string& text, platform::MessageIcon icon)
{
    platform::MessageBox(text, m_programName, icon);
}

// --- The line and the units ---

int CBVSWLoad::PortChoice() const
{
    platform::Control ports = item(IDC_PORT);
    int index = ports.selection();
    if (index < 0)
        return 0;
    intptr_t data = ports.itemData(index);
    return data >= kAdapterData ? kUsbEntry : static_cast<int>(data);
}

void CBVSWLoad::OnPortChanged()
{
    platform::Control ports = item(IDC_PORT);
    int index = ports.selection();
    if (index >= 0 && ports.itemData(index) >= kAdapterData) {
        // An adapter of the list names the one to open.
        m_usbNr = platform::StringFormat("BV1%05d", static_cast<int>(ports.itemData(index) - kAdapterData));
        item(IDC_USBNR).setText(m_usbNr);
    }
    m_port = PortChoice();
    m_loader.SelectKind(SoftwareLoader::kNone, 0, "");
    item(IDC_KIND_NONE).setSelection(0);
    ShowRows();
    UpdateControls();
}

bool CBVSWLoad::TakeLaneRange()
{
    bool okFirst = false, okLast = false;
    int first = item(IDC_FROM).number(&okFirst);
    int last = item(IDC_TO).number(&okLast);
    if (!okFirst || !okLast)
        return false;
    return m_loader.SetLaneRange(first, last);
}

void CBVSWLoad::OnKindChanged()
{
    int kind = item(IDC_KIND_NONE).selection();
    if (kind < 0)
        kind = SoftwareLoader::kNone;
    if (kind == m_loader.Kind() && (kind == SoftwareLoader::kNone || m_loader.LineOpen()))
        return;
    ChangeKind(kind);
}

void CBVSWLoad::ChangeKind(int kind)
{
    m_loader.CloseLine();
    TakeLaneRange();
    if (kind == SoftwareLoader::kControllers || kind == SoftwareLoader::kBControllers) {
        item(IDC_UNITID).setNumber(m_loader.First());
        platform::Control types = item(IDC_UNITTYPE);
        if (types.count() > 0) {
            types.setSelection(std::clamp(m_settings.sensor, 0, types.count() - 1));
            ApplyUnitType();
        }
    }
    using Result = SoftwareLoader::KindResult;
    Result result = m_loader.SelectKind(kind, PortChoice(), m_usbNr);
    if (result == Result::NoPort)
        Tell(GetText("C_BVSWLOAD_STRING_NOPORT"));
    else if (result == Result::NoUsbNr)
        Tell(GetText("C_BVSWLOAD_STRING_NOUSBNR"));
    else if (result == Result::LineFailed)
        Tell(GetText("C_BVSWLOAD_STRING_NOOPEN"));
    if (result != Result::Ok)
        item(IDC_KIND_NONE).setSelection(0);
    FillSoftwareList();
    ShowRows();
    UpdateControls();
}

void CBVSWLoad::OnRangeEdited()
{
    bool okFirst = false, okLast = false;
    int first = item(IDC_FROM).number(&okFirst);
    int last = item(IDC_TO).number(&okLast);
    if (!okFirst || !okLast || first < 1 || last > SoftwareLoader::kMaxLane || first > last)
        return;
    if (first == m_loader.First() && last == m_loader.Last())
        return;
    // Lanes of an open line: the line opens again for the new range.
    if (m_loader.LineOpen() && m_loader.State() == 1)
        ChangeKind(m_loader.Kind());
    else if (!m_loader.LineOpen())
        m_loader.SetLaneRange(first, last);
}

void CBVSWLoad::OnTimer(int id)
{
    if (id != kTimer)
        return;
    KillTimer(kTimer);
    m_loader.Tick();
    Refresh();
    SetTimer(kTimer, kTickMs);
}

bool CBVSWLoad::PreTranslateKey(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier)
        for (const ServiceKey& k : kServiceKeys)
            if (event->key() == k.key) {
                platform::Control button = item(k.button);
                if (button.enabled())
                    button.click();
                return true;
            }
    return platform::Dialog::PreTranslateKey(event);
}

// --- Loading commands ---

void CBVSWLoad::OnSend()
{
    int kind = m_loader.Kind();
    if (kind < SoftwareLoader::kDisplayUnits || kind > SoftwareLoader::kBControllers) {
        BV_LOG(m_log, 90, "Illegal SW type!");
        return;
    }
    platform::Control packages = item(IDC_PACKAGE);
    int index = packages.selection();
    if (index < 0) {
        Tell(GetText("C_BVSWLOAD_STRING_NOSW"));
        return;
    }
    SoftwarePackage package{packages.itemText(index), packages.itemData(index) == 1};
    if (UnpackPackage(".", package) != 0) {
        Tell(GetText("RetVal"));
        return;
    }
    const char* imageFile = ImageFileOfKind(kind);
    if (m_loader.LoadImage(imageFile) == 0) {
        int status = m_loader.Image() ? m_loader.Image()->Status() : -1;
        m_loader.FreeImage();
        Tell(GetText("C_BVSWLOAD_STRING_NOIMAGE") + platform::StringFormat(": %s (%d)", imageFile, status));
        Refresh();
        return;
    }

    const std::array<uint8_t, 6>& v = m_loader.Image()->Version();
    std::vector<std::string> questions;
    questions.push_back(GetText("C_BVSWLOAD_STRING_ASKSW") +
                        platform::StringFormat("%s %d.%02d %d/%d-%02d%02d ?\r\n", package.name.c_str(), v[0], v[1], v[5], v[4], v[2],
                               v[3]));
    if (v[0] > 1) {
        if (m_loader.FirstNewerLane(v[0] * 256 + v[1]) != 0)
            questions.push_back(GetText("C_BVSWLOAD_STRING_ASKBACK"));
    } else {
        questions.push_back(GetText("C_BVSWLOAD_STRING_ASKOLD"));
    }
    bool nobody = !m_loader.AnyLaneAnswered();
    if (nobody)
        questions.push_back(GetText("C_BVSWLOAD_STRING_NOUNIT"));
    for (const std::string& question : questions)
        if (Ask(question) != platform::IDYES) {
            m_loader.FreeImage();
            SetPos(0);
            Refresh();
            return;
        }
    if (nobody)
        m_loader.AllLanesTakePart();
    item(IDC_PROGRESS).setText("Hopp");
    m_loader.StartLoading();
    Refresh();
}

void CBVSWLoad::OnVersion()
{
    m_loader.RequestVersions(true);
    Refresh();
}

void CBVSWLoad::OnRestart()
{
    m_loader.Restart();
    Refresh();
}

void CBVSWLoad::OnStop()
{
    if (m_loader.Loading() && Ask(GetText("C_BVSWLOAD_STRING_ASKSTOP")) != platform::IDYES)
        return;
    m_loader.Stop();
    Refresh();
}

void CBVSWLoad::OnGetLog()
{
    if (m_loader.AnyOldController()) {
        Tell(GetText("C_BVSWLOAD_STRING_CUOLD"));
        return;
    }
    m_loader.StartLogReading();
    Refresh();
}

void CBVSWLoad::OnDeleteLog()
{
    if (m_loader.AnyOldController()) {
        Tell(GetText("C_BVSWLOAD_STRING_CUOLD"));
        return;
    }
    if (Ask(GetText("C_BVSWLOAD_STRING_ASKDEL")) != platform::IDYES)
        return;
    m_loader.DeleteLogs();
    Refresh();
}

void CBVSWLoad::OnTest()
{
    platform::MessageBox("", m_programName);
    m_loader.Test();
}

void CBVSWLoad::OnExit()
{
    m_port = PortChoice();
    if (m_loader.State() >= 2) {
        Tell(GetText("C_BVSWLOAD_STRING_MSG_ACTIVE"));
        return;
    }
    m_loader.CloseLine();
    KillTimer(kTimer);
    EndDialog(platform::IDOK);
}

// --- Service commands ---

bool CBVSWLoad::ControllersOnly()
{
    int kind = m_loader.Kind();
    if (kind == SoftwareLoader::kControllers || kind == SoftwareLoader::kBControllers)
        return true;
    Tell("Ikke gravkontroller");
    return false;
}

void CBVSWLoad::OnSetId()
{
    if (!ControllersOnly())
        return;
    bool ok = false;
    int id = item(IDC_UNITID).number(&ok);
    if (!ok || id < 1 || id > SoftwareLoader::kMaxLane) {
        platform::CurrentPrompter().Beep(platform::BeepKind::Exclamation);
        return;
    }
    m_loader.SetUnitId(id);
    Refresh();
}

void CBVSWLoad::OnSensor()
{
    if (!ControllersOnly())
        return;
    platform::Control types = item(IDC_UNITTYPE);
    int index = types.selection();
    int code = index >= 0 ? static_cast<int>(types.itemData(index)) : 0;
    int weaponClass = item(IDC_AIR).selection();
    int length = std::clamp(item(IDC_LENGTH).number(), 0, 255);
    int frequency = std::clamp(item(IDC_FREQUENCY).number(), 0, 255);
    m_loader.SensorSetup(code, weaponClass < 0 ? 2 : weaponClass, length, frequency, item(IDC_FALL).check() != 0);
    Refresh();
}

void CBVSWLoad::OnLamps(int mode, int green, int red)
{
    if (!ControllersOnly())
        return;
    m_loader.SetLamps(mode, green, red);
    Refresh();
}

void CBVSWLoad::OnAdvance()
{
    if (!ControllersOnly())
        return;
    m_loader.BandAdvance();
    Refresh();
}

void CBVSWLoad::OnFallFigure()
{
    if (!ControllersOnly())
        return;
    std::array<bool, 5> figures{};
    for (int k = 0; k < 5; ++k)
        figures[static_cast<size_t>(k)] = item(IDC_FIGURE1 + k).check() != 0;
    m_loader.FallFigure(figures);
    Refresh();
}
