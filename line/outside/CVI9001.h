#pragma once
// A line channel handed to an outside range system through that system's
// range control library, loaded by name (".\RCI2000", ".\RCIControl" or the
// DLL that RCI.INI names: lib<name>.so in the working folder). One channel of
// the library per lane of the outside system; the object keeps the map
// between lanes and channels, puts lanes under the range control's remote
// control and back, sends program, shooter and series commands, and reads
// each channel's messages into OutsideEvent records. Everything runs on the
// user-interface thread.
//
// Settings: ".\RCI.INI" [BVLeder] (read once), ".\DADErevo.ini" (version and
// program list), ".\BarCode.ini" (texts of bar-code systems).
#include "foundation/files/BVLog.h"
#include "line/outside/OutsideEvent.h"
#include "platform/system/SharedLibrary.h"

#include <cstdint>
#include <string>

class CVI9001 {
public:
    enum Protocol { kNone = 0, kMark1 = 1, kMark2 = 2, kLon = 3 };
    // Results of Put and of the lane operations.
    enum PutResult { kPutDone = 0, kPutNotOpen = 1, kPutNoProtocol = 2, kPutIllegal = 4, kPutRefused = 5 };
    // Results of Get.
    enum GetResult { kGotEvent = 0, kGotNothing = 4, kGetNotOpen = 3, kGotUnlisted = 99 };
    static constexpr int kMaxChannel = 99;
    static constexpr int kMaxLane = 99;

    CVI9001();
    virtual ~CVI9001();
    CVI9001(const CVI9001&) = delete;
    CVI9001& operator=(const CVI9001&) = delete;

    bool IsOpen() const { return m_open; }
    // The protocol kind; above 1 while the lanes are under remote control.
    int State() const { return m_protocol; }
    int ChFrom() const { return m_chFrom; }
    int ChTo() const { return m_chTo; }
    int LaneOfChannel(int channel) const;
    // Reading restricted to channels with a lane (no setting sets it).
    bool MappedOnly() const { return false; }
    // Diagnostic lines are on for a channel.
    bool LogOn(int channel) const;

    // Lane data set by the range control.
    void SetLaneOnChannel(int lane, bool on);
    void SetLaneActive(int lane, bool active);
    void SetLaneTargetType(int lane, int code);
    void SetLaneShooter(int lane, int32_t id, const std::string& name);
    bool IsRemote(int lane) const;

    bool UpdateControlModes();
    void SetRemote(int lane);
    void SetLocal(int lane);
    int SetProgram(int lane, int shoot, int practice);
    int SetShooter(int lane, int32_t id, const std::string& name);
    void StartSerie(int lane, int serie, int fireKind);
    int Mark(int lane, int serie, int fireKind);
    int NewRelay(int lane);
    void ClearLane(int lane);
    void PutRemote(int lane);
    int Get(int channel, OutsideEvent& event);
    int Put(int channel, const uint8_t* data, int length);
    int GetChannel(int lane) const;
    void Map(int channel, int lane);

    // The program numbers found (-1: none), for the logs and the tests.
    enum ProgramIndex { kShoot, kDfs100, kDfs200, kIssf200R, kDfs300, kIssf300, kDvf, kProgramCount };
    int ProgramNumber(ProgramIndex which) const { return m_programs[which]; }
    bool BarCodeMode() const { return m_barCode || m_version >= 70; }

    // The entry points of the outside library.
    typedef uint16_t (*RciCreate)();
    typedef uint16_t (*RciHandle)(uint16_t);
    typedef uint16_t (*RciNone)();
    typedef uint16_t (*LciCreate)(uint16_t range, uint16_t channel);
    typedef uint16_t (*LciGet)(uint16_t channel, uint8_t* buffer, uint16_t* length);
    typedef uint16_t (*LciPut)(uint16_t channel, const uint8_t* data, uint16_t length);

private:
    struct Lane {
        int channel = -1;
        bool onChannel = false;
        bool active = false;
        bool remote = false;
        int targetType = -1;
        int32_t shooterId = 0;
        std::string name;
    };
    struct Channel {
        uint16_t handle = 0;
        int protocol = 0;
        int lane = -1;
        int testCounter = 0;
    };

    void ReadSettings();
    bool Bind();
    void ReadProgramList();
    void ReadBarCodes();
    bool LegalChannel(int channel) const { return channel >= m_chFrom && channel <= m_chTo && channel >= 0 && channel <= kMaxChannel; }
    // The lane's channel when legal, else -1 after logging what (the illegal-channel line).
    int LaneChannel(int lane, const char* what, bool always);
    int PutCode(int channel, uint8_t high, uint8_t low, const uint8_t* data = nullptr, int size = 0);
    int PutText(int channel, const std::string& text);
    int PracticeOf(int targetType) const;
    const std::string& SkivetypeText(int targetType) const;
    void LogBytes(int channel, const char* what, const uint8_t* data, size_t size);
    int Simulated(int channel, OutsideEvent& event);

    CBVLog m_log;
    platform::SharedLibrary m_library;
    bool m_open = false;
    int m_protocol = kNone;
    std::string m_protocolName;
    uint16_t m_range = 0;

    RciCreate m_rciCreate = nullptr;
    RciHandle m_rciDelete = nullptr;
    RciHandle m_rciGetLastError = nullptr;
    RciNone m_rciGetMaxChannel = nullptr;
    RciNone m_rciSynchronizeRange = nullptr;
    LciCreate m_lciCreate = nullptr;
    RciHandle m_lciDelete = nullptr;
    RciHandle m_lciGetProtocol = nullptr;
    RciHandle m_lciReadyToGet = nullptr;
    LciGet m_lciGet = nullptr;
    RciHandle m_lciReadyToPut = nullptr;
    LciPut m_lciPut = nullptr;

    // Settings.
    bool m_logAll = false, m_logPut = false, m_logGet = false;
    int m_logCh = -1;
    bool m_barCode = false;
    int m_chFrom = 0, m_chTo = 99;
    std::string m_dll;
    int m_protocolSetting = 0;
    int m_rangeType = 4;
    int m_demo = 0;
    bool m_test = false;
    bool m_mapLock = false;
    int m_version = 0;
    std::string m_shootName;
    std::string m_targetNames[kProgramCount];
    int m_programs[kProgramCount];
    std::string m_program[5];     // Proveskudd, Enkeltskudd, Serie, ClearScreen, ClearList
    std::string m_skivetype[10];  // in the order of the target-type table

    Lane m_lanes[kMaxLane + 2];
    Channel m_channels[kMaxChannel + 1];
};
