#include "range/ui/setup/DlgInterface.h"

#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/settings/RangeSettings.h"
#include "foundation/ui/windows/FolderDialog.h"
#include "platform/system/Codepage.h"
#include "platform/system/TextTable.h"
#include "range/base/RangeObjects.h"
#include "range/ui/setup/DlgBusy.h"

#include <cstdio>

namespace {

using namespace platform;
using D = CDlgInterface;

constexpr int kNumber = CS_NUMBER;

const ControlTemplate kControls[] = {
    // The range's owner and names.
    {.id = D::IDC_USER_GROUP, .kind = ControlKind::Group, .row = 0, .col = 0, .colSpan = 2,
     .key = "IDS_INTERFACE_S_USER"},
    {.id = D::IDC_NAME_LABEL, .kind = ControlKind::Static, .parent = D::IDC_USER_GROUP, .row = 0, .col = 0,
     .key = "IDS_INTERFACE_S_NAME"},
    {.id = D::IDC_USER, .kind = ControlKind::Edit, .parent = D::IDC_USER_GROUP, .row = 0, .col = 1,
     .style = CS_STRETCH, .limit = 30},
    {.id = D::IDC_SPONSOR_LABEL, .kind = ControlKind::Static, .parent = D::IDC_USER_GROUP, .row = 1, .col = 0,
     .key = "IDS_INTERFACE_S_SPONSOR"},
    {.id = D::IDC_SPONSOR, .kind = ControlKind::Edit, .parent = D::IDC_USER_GROUP, .row = 1, .col = 1, .limit = 60},
    {.id = D::IDC_RANGE_LABEL, .kind = ControlKind::Static, .parent = D::IDC_USER_GROUP, .row = 2, .col = 0,
     .key = "IDS_INTERFACE_S_RANGE"},
    {.id = D::IDC_RANGE, .kind = ControlKind::Edit, .parent = D::IDC_USER_GROUP, .row = 2, .col = 1, .limit = 30},

    // The line channels.
    {.id = D::IDC_PORT_GROUP, .kind = ControlKind::Group, .row = 1, .col = 0, .colSpan = 2,
     .key = "IDS_INTERFACE_S_PORT"},
    {.id = D::IDC_COM_LABEL, .kind = ControlKind::Static, .parent = D::IDC_PORT_GROUP, .row = 0, .col = 1,
     .key = "IDS_INTERFACE_S_COM"},
    {.id = D::IDC_FROM_LABEL, .kind = ControlKind::Static, .parent = D::IDC_PORT_GROUP, .row = 0, .col = 2,
     .colSpan = 2, .key = "IDS_INTERFACE_S_FROM"},
    {.id = D::IDC_TO_LABEL, .kind = ControlKind::Static, .parent = D::IDC_PORT_GROUP, .row = 0, .col = 4,
     .colSpan = 2, .key = "IDS_INTERFACE_S_TO"},
#define BV_CHANNEL_ROW(n, device, first, firstSpin, last, lastSpin)                                                 \
    {.id = D::IDC_CH1_LABEL + (n)-1, .kind = ControlKind::Static, .parent = D::IDC_PORT_GROUP, .row = (n),          \
     .col = 0, .key = "IDS_INTERFACE_S_CH" #n},                                                                     \
        {.id = (device), .kind = ControlKind::ComboList, .parent = D::IDC_PORT_GROUP, .row = (n), .col = 1,         \
         .style = CS_STRETCH},                                                                                      \
        {.id = (first), .kind = ControlKind::Edit, .parent = D::IDC_PORT_GROUP, .row = (n), .col = 2,               \
         .style = kNumber, .limit = 3},                                                                             \
        {.id = (firstSpin), .kind = ControlKind::Spin, .parent = D::IDC_PORT_GROUP, .row = (n), .col = 3,           \
         .buddy = (first), .min = 1, .max = InterfaceForm::kMaxLane},                                               \
        {.id = (last), .kind = ControlKind::Edit, .parent = D::IDC_PORT_GROUP, .row = (n), .col = 4,                \
         .style = kNumber, .limit = 3},                                                                             \
        {.id = (lastSpin), .kind = ControlKind::Spin, .parent = D::IDC_PORT_GROUP, .row = (n), .col = 5,            \
         .buddy = (last), .min = 1, .max = InterfaceForm::kMaxLane}
    BV_CHANNEL_ROW(1, D::IDC_DEVICE1, D::IDC_FIRST1, D::IDC_FIRST1_SPIN, D::IDC_LAST1, D::IDC_LAST1_SPIN),
    BV_CHANNEL_ROW(2, D::IDC_DEVICE2, D::IDC_FIRST2, D::IDC_FIRST2_SPIN, D::IDC_LAST2, D::IDC_LAST2_SPIN),
    BV_CHANNEL_ROW(3, D::IDC_DEVICE3, D::IDC_FIRST3, D::IDC_FIRST3_SPIN, D::IDC_LAST3, D::IDC_LAST3_SPIN),
    BV_CHANNEL_ROW(4, D::IDC_DEVICE4, D::IDC_FIRST4, D::IDC_FIRST4_SPIN, D::IDC_LAST4, D::IDC_LAST4_SPIN),
#undef BV_CHANNEL_ROW
    {.id = D::IDC_SIMULATE, .kind = ControlKind::Check, .parent = D::IDC_PORT_GROUP, .row = 5, .col = 0,
     .colSpan = 2, .key = "IDS_INTERFACE_SIMULATE"},
    {.id = D::IDC_SEARCH, .kind = ControlKind::Button, .parent = D::IDC_PORT_GROUP, .row = 5, .col = 2, .colSpan = 4,
     .key = "IDS_INTERFACE_B_SEARCH"},

    // The USB line adapters.
    {.id = D::IDC_USB_GROUP, .kind = ControlKind::Group, .row = 0, .col = 2, .rowSpan = 2, .key = "IDS_INTERFACE_USB"},
    {.id = D::IDC_USB_NAME, .kind = ControlKind::Edit, .parent = D::IDC_USB_GROUP, .row = 0, .col = 0, .limit = 8},
    {.id = D::IDC_USB_ADD, .kind = ControlKind::Button, .parent = D::IDC_USB_GROUP, .row = 0, .col = 1,
     .key = "IDS_INTERFACE_USBADD"},
    {.id = D::IDC_USB_LIST, .kind = ControlKind::ListBox, .parent = D::IDC_USB_GROUP, .row = 1, .col = 0,
     .colSpan = 2, .style = CS_STRETCH},
    {.id = D::IDC_USB_REFRESH, .kind = ControlKind::Button, .parent = D::IDC_USB_GROUP, .row = 2, .col = 0,
     .key = "IDS_INTERFACE_USBREFRESH"},
    {.id = D::IDC_USB_DELETE, .kind = ControlKind::Button, .parent = D::IDC_USB_GROUP, .row = 2, .col = 1,
     .key = "IDS_INTERFACE_USBDEL"},

    // The results program and its exchange folder.
    {.id = D::IDC_RES_GROUP, .kind = ControlKind::Group, .row = 2, .col = 0, .colSpan = 2,
     .key = "IDS_INTERFACE_S_RES"},
    {.id = D::IDC_PROG_LABEL, .kind = ControlKind::Static, .parent = D::IDC_RES_GROUP, .row = 0, .col = 0,
     .key = "IDS_INTERFACE_S_PROG"},
    {.id = D::IDC_PROGRAM, .kind = ControlKind::ComboList, .parent = D::IDC_RES_GROUP, .row = 0, .col = 1},
    {.id = D::IDC_STANDARD, .kind = ControlKind::Button, .parent = D::IDC_RES_GROUP, .row = 0, .col = 2,
     .key = "IDS_INTERFACE_B_STANDARD"},
    {.id = D::IDC_DIR_LABEL, .kind = ControlKind::Static, .parent = D::IDC_RES_GROUP, .row = 1, .col = 0,
     .key = "IDS_INTERFACE_S_DIR"},
    {.id = D::IDC_FOLDER, .kind = ControlKind::Edit, .parent = D::IDC_RES_GROUP, .row = 1, .col = 1,
     .limit = static_cast<int>(InterfaceForm::kMaxFolder)},
    {.id = D::IDC_BROWSE, .kind = ControlKind::Button, .parent = D::IDC_RES_GROUP, .row = 1, .col = 2, .text = "..."},

    // The range's equipment.
    {.id = D::IDC_EXTERNAL_GROUP, .kind = ControlKind::Group, .row = 2, .col = 2, .rowSpan = 2,
     .key = "IDS_INTERFACE_S_EXTERNAL"},
    {.id = D::IDC_EXTERNAL0, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 0, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL0", .style = CS_GROUP},
    {.id = D::IDC_EXTERNAL0 + 1, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 1, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL1"},
    {.id = D::IDC_EXTERNAL0 + 2, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 2, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL2"},
    {.id = D::IDC_EXTERNAL0 + 3, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 3, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL3"},
    {.id = D::IDC_EXTERNAL0 + 4, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 4, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL4"},
    {.id = D::IDC_EXTERNAL0 + 5, .kind = ControlKind::Radio, .parent = D::IDC_EXTERNAL_GROUP, .row = 5, .col = 0,
     .key = "IDS_INTERFACE_S_EXTERNAL5"},
    {.id = D::IDC_MOTOR, .kind = ControlKind::Check, .row = 3, .col = 0, .key = "IDS_INTERFACE_C_MOTOR"},
    {.id = D::IDC_RANGETYPE_LABEL, .kind = ControlKind::Static, .row = 4, .col = 0, .key = "IDS_INTERFACE_RANGETYPE",
     .style = CS_HIDDEN},
    {.id = D::IDC_RANGETYPE, .kind = ControlKind::ComboList, .row = 4, .col = 1, .style = CS_HIDDEN},

    {.id = D::IDC_UNDO, .kind = ControlKind::Button, .row = 5, .col = 0, .key = "IDS_INTERFACE_B_UNDO"},
    {.id = D::IDC_CANCEL, .kind = ControlKind::Button, .row = 5, .col = 1, .key = "IDS_INTERFACE_B_CANCEL"},
    {.id = D::IDC_OK, .kind = ControlKind::Button, .row = 5, .col = 2, .key = "IDS_INTERFACE_B_OK",
     .style = CS_DEFAULT},
};

const DialogTemplate kTemplate{
    .id = CDlgInterface::IDD, .captionKey = "IDS_INTERFACE_S_TITLE", .cx = 440, .cy = 330, .controls = kControls};

// What the officer sees of a range without adapters or without the driver.
const char* const kNoUsbText =
    "Det er ingen USB-Adaptere tilkoblet datamaskinen eller driverene er ikke installert.";
const char* const kNoUsbCaption = "Obs!";

const char* const kResultsProgramKeys[InterfaceForm::kResultsPrograms] = {
    "IDS_INTERFACE_RES1", "IDS_INTERFACE_RES2", "IDS_INTERFACE_RES3", "IDS_INTERFACE_RES4", "IDS_INTERFACE_RES5",
    "IDS_INTERFACE_RES6", "IDS_INTERFACE_RES7", "IDS_INTERFACE_RES8", "IDS_INTERFACE_RES9"};

void Exclaim(const char* key) { MessageBox(TextOfKey(key), {}, MessageIcon::Exclamation); }

}  // namespace

CDlgInterface::CDlgInterface(QWidget* parent, RangeObjects& objects, FrameHooks hooks)
    : Dialog(kTemplate, parent), m_obj(objects), m_hooks(std::move(hooks))
{
    for (int id : kDevice)
        OnSelChange(id, [this] { UpdateRangeType(); });
    OnSelChange(IDC_RANGETYPE, [this] { OnRangeType(); });
    OnClick(IDC_USB_REFRESH, [this] { OnUsbRefresh(); });
    OnClick(IDC_USB_ADD, [this] { OnUsbAdd(); });
    OnClick(IDC_USB_DELETE, [this] { OnUsbDelete(); });
    OnClick(IDC_STANDARD, [this] { OnStandard(); });
    OnClick(IDC_BROWSE, [this] { OnBrowse(); });
    OnClick(IDC_SEARCH, [this] { OnSearch(); });
    OnClick(IDC_UNDO, [this] { Load(); });
    OnClick(IDC_OK, [this] { OnOK(); });
    OnClick(IDC_CANCEL, [this] { OnCancel(); });
}

CDlgInterface::~CDlgInterface()
{
    if (m_search) {
        m_search->Cancel();
        m_search->Join();
    }
    m_searchPost.reset();
    DeleteBusyBox();
}

bool CDlgInterface::OnInitDialog()
{
    for (int id : kDevice) {
        Control device = item(id);
        device.resetContent();
        device.addItem(TextOfKey("IDS_INTERFACE_DEV0"));
        for (int port = 1; port <= 9; ++port) {
            char name[8];
            std::snprintf(name, sizeof name, "COM%d", port);
            device.addItem(name);
        }
        device.addItem(TextOfKey("IDS_INTERFACE_DEV10"));
    }
    Control program = item(IDC_PROGRAM);
    for (int p = 0; p < InterfaceForm::kResultsPrograms; ++p)
        program.addItem(TextOfKey(kResultsProgramKeys[p]), p);

    CBVConfig& range = m_obj.settings.Config();
    Control usb = item(IDC_USB_LIST);
    for (const std::string& name : UsbAdapterList::Read(range))
        usb.addItem(name, UsbAdapterList::NumberOf(name));
    RebuildDeviceCombos();
    m_codes = InterfaceForm::ReadCodes(range);
    Load();
    m_searchPost = std::make_unique<PostBox>(*this);
    return true;
}

void CDlgInterface::DoDataExchange(DataExchange& dx)
{
    for (size_t k = 0; k < InterfaceForm::kChannels; ++k) {
        ChannelRow& row = m_form.channels[k];
        dx.Text(kFirst[k], row.first);
        dx.MinMax(kFirst[k], row.first, 1, InterfaceForm::kMaxLane);
        dx.Text(kLast[k], row.last);
        dx.MinMax(kLast[k], row.last, 1, InterfaceForm::kMaxLane);
    }
    dx.Text(IDC_FOLDER, m_form.exchangeFolder);
    dx.MaxChars(IDC_FOLDER, m_form.exchangeFolder, static_cast<int>(InterfaceForm::kMaxFolder));
    dx.Text(IDC_USER, m_form.userName);
    dx.MaxChars(IDC_USER, m_form.userName, 30);
    dx.Text(IDC_SPONSOR, m_form.sponsor);
    dx.MaxChars(IDC_SPONSOR, m_form.sponsor, 60);
    dx.Radio(IDC_EXTERNAL0, m_form.external);
    dx.Text(IDC_RANGE, m_form.rangeName);
    dx.MaxChars(IDC_RANGE, m_form.rangeName, 30);
    dx.Check(IDC_MOTOR, m_form.motor);
    dx.Text(IDC_USB_NAME, m_adapterText);
    dx.Check(IDC_SIMULATE, m_form.simulation);
    if (dx.Failed())
        return;
    // The results program by its value, not by its text.
    Control program = item(IDC_PROGRAM);
    if (dx.Saving()) {
        int row = program.selection();
        m_form.resultsProgram = row < 0 ? -1 : static_cast<int>(program.itemData(row));
    } else {
        program.setSelection(program.findItemData(m_form.resultsProgram));
    }
}

void CDlgInterface::Load()
{
    m_form.Load(m_obj.settings.Config());
    SelectDevices();
    UpdateData(false);
    UpdateRangeType();
}

void CDlgInterface::TakeDevices()
{
    for (size_t k = 0; k < InterfaceForm::kChannels; ++k) {
        Control device = item(kDevice[k]);
        int d = device.selection();
        // A channel whose adapter left the list has no device.
        m_form.channels[k].device = d < 0 ? 0 : d;
        m_form.adapters[k] = d >= InterfaceForm::kFirstUsbDevice ? static_cast<int>(device.itemData(d)) : 0;
    }
}

std::array<int, InterfaceForm::kChannels> CDlgInterface::CodesFromCombos() const
{
    std::array<int, InterfaceForm::kChannels> codes{};
    for (size_t k = 0; k < InterfaceForm::kChannels; ++k) {
        Control device = item(kDevice[k]);
        int d = device.selection();
        codes[k] = d < 0 ? 0 : InterfaceForm::CodeOfDevice(d, static_cast<int>(device.itemData(d)));
    }
    return codes;
}

void CDlgInterface::SelectDevices()
{
    std::vector<int> numbers;
    Control usb = item(IDC_USB_LIST);
    for (int i = 0; i < usb.count(); ++i)
        numbers.push_back(static_cast<int>(usb.itemData(i)));
    for (size_t k = 0; k < InterfaceForm::kChannels; ++k) {
        int code = m_codes[k];
        int device = InterfaceForm::DeviceOfCode(code, numbers);
        // An adapter no longer listed leaves the channel without a choice.
        item(kDevice[k]).setSelection(code > 0 && device == 0 ? -1 : device);
    }
}

void CDlgInterface::RebuildDeviceCombos()
{
    Control usb = item(IDC_USB_LIST);
    for (int id : kDevice) {
        Control device = item(id);
        while (device.count() > InterfaceForm::kFirstUsbDevice)
            device.deleteItem(device.count() - 1);
        for (int i = 0; i < usb.count(); ++i)
            device.addItem("USB: " + usb.itemText(i).substr(0, 8), usb.itemData(i));
    }
}

std::vector<std::string> CDlgInterface::UsbNames() const
{
    std::vector<std::string> names;
    Control usb = item(IDC_USB_LIST);
    for (int i = 0; i < usb.count(); ++i)
        names.push_back(usb.itemText(i));
    return names;
}

void CDlgInterface::WriteUsbList() { UsbAdapterList::Write(m_obj.settings.Config(), UsbNames()); }

void CDlgInterface::UpdateRangeType()
{
    bool outside = false;
    for (int id : kDevice)
        outside = outside || item(id).selection() == InterfaceForm::kOutsideDevice;
    Control label = item(IDC_RANGETYPE_LABEL);
    Control types = item(IDC_RANGETYPE);
    types.resetContent();
    label.show(outside);
    types.show(outside);
    if (!outside)
        return;
    for (const auto& [number, text] : OutsideRangeTypes::Offered())
        types.addItem(text, number);
    types.setSelection(types.findItemData(OutsideRangeTypes::Chosen()));
}

void CDlgInterface::OnRangeType()
{
    Control types = item(IDC_RANGETYPE);
    int row = types.selection();
    if (row >= 0)
        OutsideRangeTypes::Choose(static_cast<int>(types.itemData(row)));
}

void CDlgInterface::OnUsbRefresh()
{
    m_codes = CodesFromCombos();
    DWORD count = 0;
    if (m_usb.ListDevices(&count, nullptr, FT_LIST_NUMBER_ONLY) != FT_OK) {
        MessageBox(Ansi(kNoUsbText), kNoUsbCaption, MessageIcon::Exclamation);
        return;
    }
    Control usb = item(IDC_USB_LIST);
    for (DWORD i = 0; i < count; ++i) {
        char serial[64] = {};
        if (m_usb.ListDevices(reinterpret_cast<void*>(static_cast<uintptr_t>(i)), serial,
                              FT_LIST_BY_INDEX | FT_OPEN_BY_SERIAL_NUMBER) != FT_OK)
            continue;
        std::string name = serial;
        // Only the range's own adapters, each once.
        if (UsbAdapterList::IsAdapterName(name) && usb.findText(name) < 0)
            usb.addItem(name, UsbAdapterList::NumberOf(name));
    }
    WriteUsbList();
    RebuildDeviceCombos();
    SelectDevices();
}

void CDlgInterface::OnUsbAdd()
{
    if (!UpdateData(true))
        return;
    m_codes = CodesFromCombos();
    if (!UsbAdapterList::IsAdapterName(m_adapterText)) {
        Exclaim("IDS_INTERFACE_USBINVALID");
        return;
    }
    Control usb = item(IDC_USB_LIST);
    if (usb.findText(m_adapterText) >= 0)
        return;
    usb.addItem(m_adapterText, UsbAdapterList::NumberOf(m_adapterText));
    WriteUsbList();
    RebuildDeviceCombos();
    SelectDevices();
}

void CDlgInterface::OnUsbDelete()
{
    m_codes = CodesFromCombos();
    Control usb = item(IDC_USB_LIST);
    int row = usb.selection();
    if (row < 0) {
        Exclaim("IDS_INTERFACE_USBNONE");
        return;
    }
    int number = UsbAdapterList::NumberOf(usb.itemText(row));
    for (int id : kDevice) {
        Control device = item(id);
        int d = device.selection();
        if (d >= InterfaceForm::kFirstUsbDevice && device.itemData(d) == number) {
            Exclaim("IDS_INTERFACE_USBUSED");
            return;
        }
    }
    usb.deleteItem(row);
    WriteUsbList();
    RebuildDeviceCombos();
    SelectDevices();
}

void CDlgInterface::OnStandard()
{
    if (!UpdateData(true))
        return;
    m_form.resultsProgram = 0;
    m_form.exchangeFolder = TextOfKey("IDS_INTERFACE_DEFAULT");
    UpdateData(false);
}

void CDlgInterface::OnBrowse()
{
    if (!UpdateData(true))
        return;
    std::string title = TextOfKey("IDS_INTERFACE_FIND_TITLE");
    CFolderDialog folder(title.c_str(), m_form.exchangeFolder.c_str(), this);
    if (folder.DoModal() == 1) {
        m_form.exchangeFolder = folder.GetFolderPath();
        UpdateData(false);
    }
}

void CDlgInterface::OnOK()
{
    if (!UpdateData(true))
        return;
    TakeDevices();
    if (InterfaceForm::Refusal refusal = m_form.CheckChannels(); refusal.key) {
        MessageBox(TextOfKey(refusal.key) + " " + std::to_string(refusal.channel));
        return;
    }
    CBVConfig& range = m_obj.settings.Config();
    // A folder that does not fit the configuration is not cut short: it
    // would name another folder.
    if (m_form.StoredExchangeFolder(m_form.ProgramToStore(range)).size() > InterfaceForm::kMaxFolder) {
        MessageBox(TextOfKey("IDS_INTERFACE_WARN_DIR"));
        return;
    }
    AbandonSearch(true);
    m_form.Write(range);
    EndDialog(IDOK);
}

void CDlgInterface::OnCancel()
{
    AbandonSearch(true);
    EndDialog(IDCANCEL);
}

intptr_t CDlgInterface::OnMessage(int message, intptr_t, intptr_t)
{
    if (message == WM_SEARCHDONE)
        OnSearchDone();
    return 0;
}

void CDlgInterface::DeleteBusyBox()
{
    if (m_busy) {
        m_busy->Watch(nullptr, {});
        delete m_busy.data();
    }
    m_busy = nullptr;
}

void CDlgInterface::OnSearch()
{
    // One search at a time: a running one ends first, without its question.
    AbandonSearch(false);
    PortSearch::Texts texts;
    texts.caption = Ansi("Søker etter skjermenheter...");
    texts.trying = Ansi("Prøver COM%d");
    texts.available = TextOfKey("IDS_INTERFACE_FIND_AVAILABLE");
    texts.all = TextOfKey("IDS_INTERFACE_FIND_ALL");
    texts.one = TextOfKey("IDS_INTERFACE_FIND_ONE");
    texts.none = TextOfKey("IDS_INTERFACE_FIND_NONE");
    texts.lanes = TextOfKey("IDS_INTERFACE_FIND_LANE");
    texts.reply = TextOfKey("IDS_INTERFACE_FIND_REPLY");

    // The range's own lines let go of the ports; the search opens lines of
    // its own on them.
    if (m_hooks.closePorts)
        m_hooks.closePorts();
    m_busy = new CDlgBusy(this);
    m_busy->Create();
    m_busy->ShowWindow(true);
    m_search = std::make_unique<PortSearch>(texts, searchOptions);
    m_busy->Watch(m_search.get(), [this] {
        if (m_search) {
            m_search->Cancel();
            m_search->Join();
        }
    });
    m_searchPost = std::make_unique<PostBox>(*this);
    m_search->onSteps = [slot = m_busy->Slot()] { slot.Post(CDlgBusy::WM_SEARCHSTEPS); };
    m_search->onDone = [slot = m_searchPost->GetSlot()] { slot.Post(WM_SEARCHDONE); };
    if (m_search->Start() != 0) {
        // Without a worker there is no search; the range goes on as it was.
        m_search.reset();
        DeleteBusyBox();
        if (m_hooks.openPorts)
            m_hooks.openPorts();
    }
}

void CDlgInterface::OnSearchDone()
{
    if (!m_search)
        return;
    m_search->Join();
    PortSearch::Result result = m_search->GetResult();
    m_search.reset();
    Load();
    DeleteBusyBox();
    int answer = MessageBox(TextOfKey("IDS_INTERFACE_ASK_SAVE"), {}, MessageIcon::None, MessageButtons::YesNo);
    if (answer == IDYES) {
        CBVConfig& range = m_obj.settings.Config();
        for (int k = 0; k < PortSearch::kChannels; ++k)
            WriteItem(range, RangeItems::Channel(k), result[static_cast<size_t>(k)]);
        // The ports found go with the lanes found.
        m_codes = InterfaceForm::ReadCodes(range);
        Load();
    }
    if (m_hooks.openPorts)
        m_hooks.openPorts();
}

void CDlgInterface::AbandonSearch(bool reopenPorts)
{
    if (!m_search)
        return;
    m_search->Cancel();
    m_search->Join();
    // Its end, posted or not, is no longer this dialog's business.
    m_searchPost.reset();
    m_search.reset();
    DeleteBusyBox();
    if (reopenPorts && m_hooks.openPorts)
        m_hooks.openPorts();
}
