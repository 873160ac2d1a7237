#pragma once
// The range's connections and identity: the owner's and the range's names
// and the sponsor text, the four line channels (device and lanes), the USB
// line adapters the range knows, the results program and its exchange
// folder, the external equipment, the motor and simulation switches, and
// the outside range system's range type. OK writes the range configuration;
// the range type is written at once when chosen.
//
// It also runs the port search: its worker looks for target units on the
// serial ports while the frame's own lines are closed, and the officer
// decides afterwards whether the ports found become the channels' settings.
#include "line/usb/CFTD2XX.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PostBox.h"
#include "range/setup/InterfaceForm.h"
#include "range/setup/PortSearch.h"
#include "range/ui/setup/DlgBusy.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>

struct RangeObjects;

class CDlgInterface : public platform::Dialog {
public:
    enum {
        IDD = 131,
        IDC_FIRST1 = 1002,
        IDC_FIRST2 = 1007,
        IDC_FIRST3 = 1012,
        IDC_FIRST4 = 1014,
        IDC_PORT_GROUP = 1044,
        IDC_LAST1 = 1045,
        IDC_FIRST1_SPIN = 1046,
        IDC_LAST1_SPIN = 1047,
        IDC_FOLDER = 1048,
        IDC_BROWSE = 1049,
        IDC_PROGRAM = 1050,
        IDC_FIRST2_SPIN = 1051,
        IDC_DEVICE1 = 1052,
        IDC_DEVICE2 = 1053,
        IDC_LAST2 = 1054,
        IDC_LAST2_SPIN = 1055,
        IDC_DEVICE3 = 1056,
        IDC_FIRST3_SPIN = 1057,
        IDC_LAST3 = 1058,
        IDC_LAST3_SPIN = 1059,
        IDC_DEVICE4 = 1060,
        IDC_FIRST4_SPIN = 1061,
        IDC_LAST4 = 1062,
        IDC_LAST4_SPIN = 1063,
        IDC_CH1_LABEL = 1064,  // ..1067
        IDC_SEARCH = 1068,
        IDC_STANDARD = 1069,
        IDC_UNDO = 1070,
        IDC_RES_GROUP = 1074,
        IDC_COM_LABEL = 1075,
        IDC_FROM_LABEL = 1076,
        IDC_TO_LABEL = 1077,
        IDC_PROG_LABEL = 1078,
        IDC_DIR_LABEL = 1079,
        IDC_EXTERNAL_GROUP = 1128,
        IDC_EXTERNAL0 = 1131,  // ..1136
        IDC_USER_GROUP = 1157,
        IDC_NAME_LABEL = 1159,
        IDC_SPONSOR_LABEL = 1161,
        IDC_USER = 1167,
        IDC_SPONSOR = 1168,
        IDC_CANCEL = 1213,
        IDC_OK = 1214,
        IDC_RANGE_LABEL = 1250,
        IDC_RANGE = 1251,
        IDC_MOTOR = 1282,
        IDC_RANGETYPE_LABEL = 1414,
        IDC_RANGETYPE = 1415,
        IDC_USB_GROUP = 2004,
        IDC_USB_LIST = 2005,
        IDC_USB_REFRESH = 2006,
        IDC_USB_NAME = 2007,
        IDC_USB_ADD = 2008,
        IDC_USB_DELETE = 2009,
        IDC_SIMULATE = 2010,
    };
    static constexpr int kDevice[4] = {IDC_DEVICE1, IDC_DEVICE2, IDC_DEVICE3, IDC_DEVICE4};
    static constexpr int kFirst[4] = {IDC_FIRST1, IDC_FIRST2, IDC_FIRST3, IDC_FIRST4};
    static constexpr int kLast[4] = {IDC_LAST1, IDC_LAST2, IDC_LAST3, IDC_LAST4};

    // The search's end, posted by its worker.
    static constexpr int WM_SEARCHDONE = platform::WM_APP + 50;

    // What the dialog asks of the frame: the frame's lines close while a
    // search looks at the ports and open again afterwards.
    struct FrameHooks {
        std::function<void()> closePorts;
        std::function<void()> openPorts;
    };

    CDlgInterface(QWidget* parent, RangeObjects& objects, FrameHooks hooks);
    // A search still running is stopped and waited for.
    ~CDlgInterface() override;

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(platform::DataExchange& dx) override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    // The port search's timing; tests make it short.
    PortSearch::Options searchOptions;
    CDlgBusy* BusyBox() const { return m_busy; }
    bool Searching() const { return m_search != nullptr; }
    const InterfaceForm& Form() const { return m_form; }

private:
    void Load();
    void TakeDevices();
    std::array<int, InterfaceForm::kChannels> CodesFromCombos() const;
    void SelectDevices();
    void RebuildDeviceCombos();
    std::vector<std::string> UsbNames() const;
    void WriteUsbList();
    void UpdateRangeType();
    void OnRangeType();
    void OnUsbRefresh();
    void OnUsbAdd();
    void OnUsbDelete();
    void OnStandard();
    void OnBrowse();
    void OnSearch();
    void OnSearchDone();
    // Stops a search and drops what it still has to say; the frame's lines
    // open again when it asks for that.
    void AbandonSearch(bool reopenPorts);
    void DeleteBusyBox();

    RangeObjects& m_obj;
    FrameHooks m_hooks;
    CFTD2XX m_usb;
    InterfaceForm m_form;
    std::array<int, InterfaceForm::kChannels> m_codes{};
    std::string m_adapterText;
    std::unique_ptr<PortSearch> m_search;
    // A box per search, so the end of one that was given up never reaches
    // the dialog.
    std::unique_ptr<platform::PostBox> m_searchPost;
    QPointer<CDlgBusy> m_busy;
};
