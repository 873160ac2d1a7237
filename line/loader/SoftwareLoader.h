#pragma once
// The software loader's line and protocol, without its dialog: a line of its
// own to the target units of one kind (display units, target controllers,
// B-target controllers), the commands the service technician gives, the
// answers the units send, the two-pass loading of a software image and the
// reading of the units' logs. The dialog calls Tick from its 100 ms timer and
// shows Row(lane) for each lane of the range; tests call Tick themselves.
//
// Loader state (State()): 0 no unit kind chosen, 1 idle, 16 reading logs;
// while loading the kind bit (0x40 display units, 0x80 controllers) plus a
// step, 1 prepare sent, 2 sending blocks, 3 commit sent, with 0x10 added in
// the second pass and in every commit step.
//
// Texts shown in the rows come from the dialog's language table through
// LoaderTexts, by the keys below; the rest are formatted here.
#include "foundation/files/BVLog.h"
#include "line/BVSerCom.h"
#include "line/loader/BVSW.h"
#include "line/loader/LoadProgress.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace loaderkeys {
inline constexpr char kReady[] = "C_BVSWLOAD_STRING_READY";
inline constexpr char kWait[] = "C_BVSWLOAD_STRING_WAIT";
inline constexpr char kError[] = "C_BVSWLOAD_STRING_ERROR";
inline constexpr char kDual[] = "C_BVSWLOAD_STRING_DUAL";
inline constexpr char kMsgError[] = "C_BVSWLOAD_STRING_MSGERR";
inline constexpr char kTempDu[] = "C_BVSWLOAD_STRING_MSG_TEMPDU";
inline constexpr char kSwError[] = "C_BVSWLOAD_STRING_MSG_SWERR";
inline constexpr char kStateMsg[] = "C_BVSWLOAD_STRING_MSG_STATE";
inline constexpr char kRestarted[] = "C_BVSWLOAD_STRING_MSG_RESTART";
inline constexpr char kPrepare1[] = "C_BVSWLOAD_STRING_PREPARE1";
inline constexpr char kPrepare2[] = "C_BVSWLOAD_STRING_PREPARE2";
inline constexpr char kMsgSend[] = "C_BVSWLOAD_STRING_MSG_SEND";
inline constexpr char kMsgSave[] = "C_BVSWLOAD_STRING_MSG_SAVE";  // with %d for the pass
inline constexpr char kMsgProg1[] = "C_BVSWLOAD_STRING_MSG_PROG1";
inline constexpr char kMsgFinish[] = "C_BVSWLOAD_STRING_MSG_FINISH";
inline constexpr char kRcvRestart[] = "C_BVSWLOAD_STRING_RCV_RESTART";
inline constexpr char kSendVersion[] = "C_BVSWLOAD_STRING_SEND_VERSION";
inline constexpr char kSendRestart[] = "C_BVSWLOAD_STRING_SEND_RESTART";
inline constexpr char kSendStop[] = "C_BVSWLOAD_STRING_SEND_STOP";
inline constexpr char kGetConfig[] = "C_BVSWLOAD_STRING_BUTTON_GETCONFIG";
inline constexpr char kGetCounters[] = "C_BVSWLOAD_STRING_BUTTON_GETCOUNTERS";
inline constexpr char kDelLog[] = "C_BVSWLOAD_STRING_BUTTON_DELLOG";
}  // namespace loaderkeys

// The dialog's language table.
class LoaderTexts {
public:
    virtual ~LoaderTexts() = default;
    virtual std::string GetText(const char* key) = 0;
};

class SoftwareLoader {
public:
    enum Kind { kNone = 0, kDisplayUnits = 1, kControllers = 2, kBControllers = 3 };
    enum Column { kColLane = 0, kColState = 1, kColSent = 2, kColReceived = 3, kColComment = 4 };
    static constexpr int kMaxLane = 99;
    static constexpr int kUsbPort = 10;
    static constexpr int kSendWindow = 10;
    static constexpr int kPortIndex = 1;
    static constexpr int kLogBlocks = 1024;

    // Countdowns, in ticks of 100 ms.
    static constexpr int kFirstBlockTicks = 80;
    static constexpr int kWindowFullTicks = 80;
    static constexpr int kRefusedTicks = 80;
    static constexpr int kAckOutsideSendingTicks = 100;
    static constexpr int kSentTicks = 120;
    static constexpr int kResentTicks = 140;
    static constexpr int kCommitTicks = 200;
    static constexpr int kTooLongTicks = 20;
    static constexpr int kLogRetryTicks = 120;
    static constexpr int kVersionTicks = 50;

    // What a unit told about itself, per lane of the range.
    struct Participant {
        int own = 0;     // the lane's own number once it answered a version request
        int twin = 0;    // the other lane of a dual unit
        int version = 0; // major * 256 + minor
        int controllerMark = 0;  // 3 after a version answer of the newer form
        int pending = 0;         // -1 while an answer is awaited
    };

    explicit SoftwareLoader(LoaderTexts& texts);
    virtual ~SoftwareLoader();
    SoftwareLoader(const SoftwareLoader&) = delete;
    SoftwareLoader& operator=(const SoftwareLoader&) = delete;

    // The lanes First..Last (1..99, First <= Last); false and unchanged
    // otherwise. Only while no line is open.
    bool SetLaneRange(int first, int last);
    int First() const { return m_first; }
    int Last() const { return m_last; }
    // The folder the unit logs are written into.
    void SetProgramFolder(const std::string& folder) { m_folder = folder; }
    void SetProgress(LoadProgress* progress) { m_progress = progress; }

    // Whether a UsbNr text names an adapter: eight characters, "BV1" and a
    // number above 0 after the fourth.
    static bool ValidUsbNr(const std::string& usbNr);

    enum class KindResult { Ok, NoPort, NoUsbNr, LineFailed };
    // Changes the unit kind: closes the line and empties the rows; for a
    // kind other than 0 opens the line on the port (1..9 COM1..COM9, 10 the
    // USB adapter named by usbNr), sets every row to wait and asks all units
    // for their versions. A refused port leaves kind 0.
    KindResult SelectKind(int kind, int portChoice, const std::string& usbNr);
    // The kind alone, with the participation table cleared and no line
    // touched: for a loader whose line is open already or not needed.
    void SetKind(int kind);
    int Kind() const { return m_kind; }
    uint8_t ModelByte() const { return m_kind == kDisplayUnits ? 'A' : 'B'; }

    // The line by itself: PortOpen's result, or -1 for a port that is none.
    int OpenLine(int portChoice, const std::string& usbNr);
    void CloseLine();
    bool LineOpen() const { return m_line != nullptr; }
    CBVSerCom* Line() { return m_line.get(); }

    // The 100 ms timer's work: received messages, the rows' line state and
    // the countdowns.
    void Tick();
    // One received message, as the line delivers it.
    void HandleMessage(const LineMessage& message);

    // Commands. Per-lane commands go to every lane of the range.
    void RequestVersions(bool clearColumns);
    void Restart();
    void DeleteLogs();
    void RequestConfiguration();
    void RequestCounters();
    void Test();
    // Stop: the countdowns cleared, the image freed, back to idle; the units
    // are not told.
    void Stop();

    // Reads the image file for the chosen kind: its terminal range is the
    // lane range and sector s goes to destination sector s mod 4. The
    // number of blocks, 0 when it was refused (Image()->Status() says why,
    // or no image when the file could not be opened).
    int LoadImage(const std::string& path);
    CBVSW* Image() { return m_image.get(); }
    void FreeImage();
    // The first pass of the loaded image; false without an image or kind.
    bool StartLoading();
    // Makes every lane of the range take part (no unit answered a version
    // request and the technician loads all the same).
    void AllLanesTakePart();
    bool AnyLaneAnswered() const;
    // The first lane taking part whose unit reported a version above this
    // one (major * 256 + minor), 0 when none did.
    int FirstNewerLane(int version) const;

    // Log reading into DULOG%02d.txt, CULOG%02d.txt or CULOGB%02d.txt.
    void StartLogReading();
    static std::string LogFileName(int kind, int lane);

    // Service commands for target controllers; false for another kind.
    bool SetUnitId(int id);
    bool SensorSetup(int typeCode, int weaponClass, int length, int frequency, bool fallFigure);
    bool SetLamps(int mode, int green, int red);
    bool BandAdvance();
    bool FallFigure(const std::array<bool, 5>& figures);
    // Which lanes carry the controller mark that refuses the log commands.
    bool AnyOldController() const;

    // What a unit type of the sensor set-up starts with: weapon class (0
    // air, 1 small bore, 2 full bore), band advance frequency and length.
    struct SensorDefaults {
        int weaponClass, frequency, length;
    };
    static SensorDefaults DefaultsForUnitType(int code);

    int State() const { return m_state; }
    int Pass() const { return m_pass; }
    bool Loading() const { return (m_state & 0xC0) != 0; }
    int Step() const { return m_state & 0x0F; }
    int SendCountdown() const { return m_sendCountdown; }
    int LogRetryCountdown() const { return m_logRetryCountdown; }
    int VersionCountdown() const { return m_versionCountdown; }
    int LogBlockNumber() const { return m_logBlock; }
    const std::string& Information() const { return m_information; }
    const Participant& Lane(int lane) const { return m_lanes[static_cast<size_t>(Index(lane))]; }
    const std::string& Cell(int lane, int column) const;
    bool TakesPart(int lane) const;

    // Every message as it is queued, whether or not a line is open; for the
    // line monitor of the loader and for tests.
    void SetQueuedListener(std::function<void(const LineMessage&)> listener) { m_queued = std::move(listener); }

    // The lane a received message belongs to, 0 when none of the range.
    int SlotToLane(int slot) const;

private:
    using Row = std::array<std::string, 5>;

    // Builds and queues a message: position 3 the code, 4 the lane (0 = to
    // all), then the further bytes; -100 when no line is open.
    int QueueMessage(int lane, uint8_t code, std::initializer_list<uint8_t> more);
    int QueueBytes(int lane, const uint8_t* payload, int lastIndex);
    void SetCell(int lane, int column, const std::string& text);
    void SetKey(int lane, int column, const char* key);
    std::string Text(const char* key);
    static int Index(int lane) { return lane < 0 || lane > kMaxLane ? 0 : lane; }
    bool InRange(int lane) const { return lane >= m_first && lane <= m_last; }
    bool AnyPending() const;
    int KindBit() const { return m_kind == kDisplayUnits ? 0x40 : 0x80; }
    int PassTotal() const;
    void ClearRows();
    void ClearParticipants();
    void RefreshLineState();

    void OnVersion(int lane, const uint8_t* m);
    void OnCommandAnswer(int lane, const uint8_t* m, int n);
    void OnAcknowledged(int lane, const uint8_t* m, int n);
    void OnLogBlock(int lane, const uint8_t* m);
    void OnShot(int lane, const uint8_t* m);

    void SendPrepare(const char* sentKey);
    void SendFirstBlock();
    bool SendNextBlock(bool resend);
    void SendWhileItSends();
    void Commit();
    void RequestStatus();
    void EndLoading();
    void RequestLogBlock();
    void BroadcastLogRequest();
    void EndLogReading();
    void OnSendExpired();

    LoaderTexts& m_texts;
    CBVLog m_log;
    std::unique_ptr<CBVSerCom> m_line;
    std::unique_ptr<CBVSW> m_image;
    LoadProgress* m_progress = nullptr;
    std::function<void(const LineMessage&)> m_queued;
    std::string m_folder = ".";

    int m_first = 1;
    int m_last = 10;
    int m_kind = kNone;
    int m_state = 0;
    int m_pass = 1;
    int m_sendCountdown = 0;
    int m_logRetryCountdown = 0;
    int m_versionCountdown = 0;
    int m_logBlock = -1;
    std::string m_information;
    std::array<Participant, kMaxLane + 1> m_lanes{};
    std::array<Row, kMaxLane + 1> m_rows{};
};
