#pragma once
// The line monitor: a modeless window on one of the range's four line
// channels that shows either every frame passing on the line (direction,
// milliseconds since the previous frame, address and bytes) or the exchange
// counters of each lane. Frames shown are also appended to
// BVLederMessage.TXT in the program folder. The frame's tick calls
// ShowFrames while the window is shown.
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <cstdio>
#include <string>

struct LineMessage;
struct RangeObjects;
class CBVSerCom;

class CDlgLineSpy : public platform::Dialog {
public:
    enum {
        IDD = 140,
        IDC_SIZE = 1090,
        IDC_CLEAR = 1191,
        IDC_CHANNEL_GROUP = 1192,
        IDC_VIEW_GROUP = 1193,
        IDC_CHANNEL0 = 1194,  // ..1197
        IDC_MESSAGES = 1198,
        IDC_STATISTICS = 1199,
        IDC_SIZE_LABEL = 1200,
        IDC_RATE = 1201,
        IDC_ACTIVE = 1202,
        IDC_LIST = 1205,
        IDC_CLOSE = 1206,
    };
    static constexpr const char* kLogName = "BVLederMessage.TXT";

    CDlgLineSpy(QWidget* parent, RangeObjects& objects);
    ~CDlgLineSpy() override;

    // The tick's call while the window is shown.
    void ShowFrames();
    // Stops the display, closes the log file and hides the window.
    void Close();

    bool OnInitDialog() override;
    void OnCancel() override { Close(); }
    void OnOK() override {}

    int Channel() const { return m_channel; }
    int View() const { return m_view; }
    bool LogOpen() const { return m_log != nullptr; }

    // The row of a frame, as the list and the log show it: direction, time
    // text and frame text; "time" is the milliseconds since the previous one.
    struct Row {
        std::string direction, time, frame;
    };
    static Row FormatFrame(const LineMessage& m, uint32_t sincePrevious);

private:
    CBVSerCom* Line() const;
    void OnChannel(int channel);
    void OnView(int view);
    void OnRate();
    void OnActive();
    void ShowMessagesView();
    void ShowStatisticsView();
    void ActivateCopies();
    void DeactivateCopies();
    void ClearList();
    void CloseLog();
    int ListSize() const;
    std::string ChannelName(int channel) const;

    RangeObjects& m_obj;
    int m_channel = 0;
    int m_view = 0;
    int m_period = 1;
    int m_countdown = 0;
    uint32_t m_lastTick = 0;
    bool m_running = false;
    std::FILE* m_log = nullptr;
};
