#pragma once
// BVRemote.BVC, the remote program's own settings: the list of range
// folders ("events") the secretary works on, the event and competition the
// print, name and exchange pages remember, and the print page's options per
// event. When the file cannot be written (a write-protected program folder)
// it is read as it is and every write is skipped.
#include "foundation/files/BVConfig.h"
#include "foundation/files/ConfigItem.h"

#include <string>
#include <vector>

namespace RemoteItems {
inline constexpr ConfigIntItem kEventCount{3, 1, 530, 0};       // slots 1..n, deleted ones stay counted
constexpr ConfigIntItem EventInUse(int e) { return {3, e, 680, 0}; }
constexpr ConfigTextItem EventName(int e) { return {3, e, 500, ""}; }  // empty: listed by its number
inline constexpr int kFolderKey = 570;                           // (3,e,570..579), 30 characters each
inline constexpr int kFolderPieces = 10;
inline constexpr int kPieceSize = 30;
inline constexpr ConfigIntItem kChosenEvent{32, 1, 530, 0};      // shared by print, name and exchange pages
constexpr ConfigIntItem ChosenComp(int e) { return {32, e, 531, 0}; }
}  // namespace RemoteItems

class RemoteSettings {
public:
    static constexpr const char* kFileName = "BVRemote.BVC";
    static constexpr int kMaxFolder = RemoteItems::kFolderPieces * RemoteItems::kPieceSize;

    // Opens the file (a system path) for writing, creating it; else
    // read-only with the writable flag off. True when it is open at all.
    bool Open(const std::string& path);
    // Opens it for reading only, writable flag off.
    bool OpenReadOnly(const std::string& path);
    bool Writable() const { return m_writable; }
    CBVConfig& Store() { return m_store; }
    // Re-reads the file when another copy of the program changed it.
    void Refresh() { m_store.Refresh(); }

    int EventCount();
    bool InUse(int e);
    // The events in use, in slot order.
    std::vector<int> Events();
    // The stored name, or the event's number when it has none.
    std::string EventName(int e);
    // The folder as typed, joined from its pieces.
    std::string EventFolder(int e);
    // The folder as readers use it: ending in a backslash.
    std::string RangeFolder(int e);

    // Appends a slot and marks it in use; its number, or 0 when not writable.
    int AddEvent();
    // Marks the slot unused; its name and folder stay, the count stays.
    void DeleteEvent(int e);
    void SetEventName(int e, const std::string& name);
    // Cut at 300 characters and stored in ten pieces of 30.
    void SetEventFolder(int e, const std::string& folder);

    // The remembered event and its remembered competition (0 none).
    int RememberedEvent();
    int RememberedComp(int e);
    // Writes only what differs from the stored value.
    void RememberEvent(int e);
    void RememberComp(int e, int comp);

    // Writes when the file is writable; the store's result, else 0.
    int Write(const ConfigIntItem& item, int value);
    int Write(const ConfigTextItem& item, const std::string& text);

    // The ten pieces a folder is stored in.
    static std::vector<std::string> FolderPieces(const std::string& folder);

private:
    CBVConfig m_store;
    bool m_writable = false;
};

// BVRemote.ini: a second competition whose series the print page puts in
// front of each card of a start-number competition. The program never
// writes it.
struct SecondCompetition {
    std::string folder;  // ends in a backslash when not empty
    int comp = -1;       // 0 or less: none

    // [BVRemote] Path and Comp of the ini file (a system path).
    static SecondCompetition Read(const std::string& iniPath = ".\\BVRemote.ini");
    bool Named() const { return comp > 0; }
};

// A folder as readers use it: a backslash appended when it has none.
std::string WithBackslash(const std::string& folder);
