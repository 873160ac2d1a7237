#pragma once
// The competition data of one range folder: the shooting cards of every relay
// and lane, the shooters' names, the shots, and which card each lane shows
// now. The range control writes it; the display and remote programs read the
// same files at the same time (and the remote program writes names).
//
// Files of competition n below the base folder B:
//   B\Comp<n>\Comp.BVC   the competition's settings (CBVConfig)
//   B\Program.BVC        the shooting programs (CBVConfig)
//   B\Comp<n>\Active.BVD ActiveRecord, one per lane, keyed by lane   (cached)
//   B\Comp<n>\Card.BVD   CardRecord, one per card, keyed by relay and lane (cached)
//   B\Comp<n>\Name.BVD   NameRecord, by record number from the card  (cached)
//   B\Comp<n>\Shot.BVD   ShotListRecord, by record number from the card
//
// Every read-modify-write of a card, a name or a shot list happens inside one
// lock bracket of its file, with the record read afresh under the lock, so
// that programs on several computers writing the same card at once neither
// lose a shot nor make a card twice. Where two files are bracketed at once,
// Card.BVD is always taken before Shot.BVD, Name.BVD and Active.BVD.
//
// Readers notice changes by the files' change counters, by the lane's
// ActiveRecord change counter (shots replaced or deleted, name deleted) and
// by a shot list's own update counter.
#include <cstdint>
#include <functional>
#include <string>

#include "foundation/files/BVConfig.h"
#include "foundation/files/BVFileEx.h"
#include "foundation/files/BVLog.h"
#include "foundation/settings/CompOptions.h"

#pragma pack(push, 1)

// Which card a lane shows now; one per lane, keyed by the lane. The record of
// lane 0 belongs to final marking (the shooter shown to the audience).
struct ActiveRecord {
    int32_t lane;           // the key
    int16_t relay;          // relay now on the lane (the start number in start-number mode)
    int16_t cardRec;        // record number of the lane's CardRecord
    int16_t changeCounter;  // +1 when the card's shots are replaced or deleted, or its name deleted
    uint8_t seriesState;    // series of the lane in the low 7 bits; 129 in a new record
    uint8_t reserved;
};
static_assert(sizeof(ActiveRecord) == 12);

// One shooting card, keyed by its first 4 bytes: relay and lane.
struct CardRecord {
    int16_t relay;          // in start-number mode the start number
    int16_t lane;           // 0 in start-number mode: one card per start number
    uint8_t targetType;     // target type code; 255 in a cleared card
    uint8_t valueSystem;    // 0..6
    uint8_t sensitivity;    // 1 coarse calibre, 2 small bore, 3 air
    uint8_t band1;          // band advance settings sent with the lane set-up
    uint8_t band2;
    uint16_t shotRec;       // record number of the ShotListRecord; 0 until the first shot
    uint16_t nameRec;       // record number of the NameRecord; 0 when the card has no name
    uint8_t flaggedShots;   // shots with flag 0x0400
    int16_t cardValue;      // values the target reports with its lane state
    int16_t cardValue2;
    uint8_t targetComp;     // competition number the target reported with them
    uint8_t cardData[14];   // further card data of the target, as delivered
    uint8_t resultState;    // 0 none, 1..4 (exported as [Notes] State)
    uint8_t reserved[18];
    int16_t resultsReserved;  // the results side's; 0 in a card made here
};
static_assert(sizeof(CardRecord) == 54);

struct NameRecord {
    int32_t competition;    // set by the range control when it stores an imported name
    int32_t startNumber;    // or relay x 100 + lane; -1 none
    char name[32];
    char club[32];
    char cls[11];
    char category[11];
    int32_t startScore;     // x 100
    uint8_t reserved[18];
};
static_assert(sizeof(NameRecord) == 116);

// One shot slot of a card.
struct ShotRecord {
    uint8_t state;          // kSlotFree, kSlotShot, kSlotNoPosition, kSlotSkipped (16 and 32: converted old shots)
    uint16_t flags;         // kFlag... below; the other bits as delivered
    int32_t x;              // micrometres from the centre
    int32_t y;
    int32_t radius;         // sqrt(x^2 + y^2)
    int16_t value;          // hundredths of a ring, with the value codes (1100 and above)
    uint8_t data17;         // target data, part of the repeated-shot test
    int16_t temperature;    // hundredths of a degree; 12700 and above: none
    uint8_t orderOffset;    // places the shot moves earlier in a re-sorted display order
    uint8_t shotNumber;     // 1..250; 0 asks the store for the next free slot
    uint8_t displayPos;     // position within its series, 1..99; 0 none
    uint8_t century;        // date and time of the shot
    uint8_t year;
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t hundredths;
    int32_t shotAt;         // the target's time of the shot in hundredths of a second
    uint8_t series;         // series fired in, 1..28 in the low 7 bits
    uint8_t countingSeries; // series the shot counts in; 0 none yet
    uint8_t sensorA;        // sensor levels; 255 no sensor
    uint8_t sensorB;
    uint8_t sensorC;
    uint8_t sensorD;
    uint8_t data41;         // target data bytes and word, as delivered
    uint8_t data42;
    uint8_t data43;
    uint8_t data44;
    int16_t data45;
    uint8_t sensorSet;      // hardware class of the target's sensors
    uint8_t reserved[4];
};
static_assert(sizeof(ShotRecord) == 52);

// The shots of one card.
struct ShotListRecord {
    int32_t updateCounter;  // +1 on every rewrite; never 0 after a write
    ShotRecord shots[250];
    char comment[248];      // NUL-terminated
    int16_t reserved;       // copied with the comment
};
static_assert(sizeof(ShotListRecord) == 13254);

#pragma pack(pop)

class CDataComp {
public:
    static constexpr int kMaxLane = 100;
    static constexpr int kSlots = 250;
    static constexpr int kMaxSeries = 28;
    static constexpr uint8_t kOrderEnd = 255;  // ends a display order

    // Lanes are numbered 1 to 100; any other number, wherever it comes from,
    // names no lane.
    static bool IsLane(int lane) { return lane >= 1 && lane <= kMaxLane; }
    // A card's lane as the calls below take it: a lane, or 0 for a start
    // number's card in start-number mode (cards are kept with lane 0 there,
    // and a window that shows a card by start number knows no lane).
    bool IsCardLane(int lane) const { return IsLane(lane) || (lane == 0 && StartNumberMode()); }

    // Slot states.
    enum : uint8_t { kSlotFree = 0, kSlotShot = 128, kSlotNoPosition = 64, kSlotSkipped = 254 };
    // Shot flags the library and its users test.
    enum : uint16_t {
        kFlagFromTarget = 0x0001,
        kFlagNoCoordinates = 0x0002,
        kFlagMarked = 0x0004,   // turned away on a turning-target range: counts 0 there
        kFlagFrame = 0x0008,
        kFlagShown = 0x0080,    // the target may show the shot: set at storing unless marking is blocked
        kFlagFlagged = 0x0400,  // the super-final mark
        kFlagCopied = 0x0800,
    };

    // Record sizes and versions of the files.
    static constexpr int16_t kActiveSize = 12, kActiveVersion = 1;
    static constexpr int16_t kCardSize = 54, kCardVersion = 2;
    static constexpr int16_t kNameSize = 116, kNameVersion = 1;
    static constexpr int16_t kShotSize = 13254, kShotVersion = 3;

    // Texts of the version questions and reports (shown by the programs).
    static constexpr const char* kCardConvertText = "Card.bvd will be converted";
    static constexpr const char* kShotConvertText = "Shot.bvd will be converted";

    CDataComp();
    virtual ~CDataComp();
    CDataComp(const CDataComp&) = delete;
    CDataComp& operator=(const CDataComp&) = delete;

    // The range folder; an empty text is ".\", a trailing backslash is added.
    void SetBasePath(const std::string& folder);
    const std::string& GetBasePath() const { return m_base; }

    // Opens competition n's settings, the shooting programs and the four
    // record files (created when missing, and written, only with create).
    // Older layouts are converted in the competition's folder, after the
    // question when the programs ask one; a layout this program cannot read
    // (a newer one, or an old one opened without create) is reported and
    // that file stays closed. Reads CompOptions on every call. 0 when the
    // shot file opened, else its open result (-99 another layout).
    int Open(int competition, uint8_t create);
    void Close();
    bool IsOpen() const { return m_open; }
    int GetComp() const { return m_comp; }

    // The question before a file of an older layout is converted (OK
    // converts) and the report of a file whose layout cannot be read. The
    // programs answer and show them through their prompter; without one, old
    // files are converted and reports only go to the log.
    std::function<bool(const std::string& text)> confirmConversion;
    std::function<void(const std::string& text)> reportIncompatible;

    // The card of (relay, lane) into the same buffer; with create, a missing
    // one is made from the caller's buffer. The lane's ActiveRecord then
    // points at it. 1 made now, 0 it was there; -1 missing (without create)
    // or the card file could not be opened or locked; -2 it could not be
    // written (the caller's relay is then 0). In start-number mode relay is
    // the start number and the card is kept with lane 0.
    int GetCard(CardRecord& card, uint8_t create);
    // The card of (relay, lane) into the same buffer, made from the buffer
    // when missing, as GetCard with create does; but no lane is pointed at
    // it: a card of a relay not on the line yet stays off the lanes.
    int FindOrMakeCard(CardRecord& card);
    // Sets the result state (0 none, 1..4) of the card of (relay, lane), read
    // afresh under the card file's lock. 0, or -1 (no card, or a failed write).
    int StoreResultState(int relay, int lane, uint8_t state);
    // Clears the card's name; 0, or -1 (no card, no name, or a failed write).
    int DeleteName(int relay, int lane);
    // Stores a name for the card of (relay, lane): over its NameRecord when
    // it has one, else as a new record that the card then points at. 0, or
    // -1 (no card, or a failed write).
    int StoreName(int relay, int lane, const NameRecord& name);

    static void ClearCard(CardRecord& card);
    static void ClearName(NameRecord& name);
    static void ClearShots(ShotListRecord& list);
    static void ClearActive(ActiveRecord& active);

    // --- The shot store ---
    // Stores a shot on the card of (relay, lane), in the slot of its shot
    // number (the first free one for number 0). It counts in its series while
    // fewer than `limit` shots already do, unless noCount. The same shot
    // delivered again is not stored twice; a different shot for an occupied
    // slot is refused (the caller's copy gets the stored shot's counting
    // series and flags). The list's new update counter (the file then holds
    // it + 1), or 0 when nothing was stored. With copy, the whole list as
    // written.
    int32_t AddShot(int relay, int lane, ShotRecord& shot, ShotListRecord* copy, int limit, int noCount);
    // Replaces the card's shots up to the list's first free slot, and its
    // comment. The new update counter, or 0.
    int32_t WriteShots(int relay, int lane, const ShotListRecord& list);
    // Clears every shot and the comment. The new update counter; 1 when the
    // card has no shots; 0 on failure.
    int32_t DeleteShots(int relay, int lane);
    // Changes the card's shot list as read afresh under the lock (made first
    // when the card has none), so that a shot stored meanwhile by another
    // program stays: the way to change a few fields of a list shown for a
    // while. The new update counter, or 0.
    int32_t ChangeShots(int relay, int lane, const std::function<void(ShotListRecord&)>& change);
    // The card's shot list, read from the file; 0, -1 when the card or its
    // list is missing or unreadable (the list is then cleared).
    int ReadShots(int relay, int lane, ShotListRecord& list);
    // Marks free slots as skipped up to the n-th shot position; 1 when one
    // was marked.
    int MarkSkipped(ShotListRecord& list, int n);

    // --- Values ---
    // The counted value in hundredths of a value (hundredths, with codes)
    // under a value system.
    static int CountedValue(int value, int system);
    // The value's text with the object's decimal separator; returns the
    // counted value. Values of 1300 and above give "", systems above 6 leave
    // the text as it was.
    int ValueText(int value, int system, std::string& out) const;
    static bool HasDecimals(int system);
    // Fixed-width text of a value in tenths (255 none) for lists and line
    // files; system 0..5, or 99 for the one-character texts.
    static std::string& ShortValueText(int tenths, std::string& out, int system);

    // --- Display order: slot indexes in the order a card shows them,
    // kOrderEnd after the last ---
    static void BuildShotOrder(const ShotListRecord& list, uint8_t order[kSlots], bool resort);
    // Slot of the n-th shot counting in a series, walking the order; -1 none.
    static int FindSeriesShot(const ShotListRecord& list, int series, int n, const uint8_t order[kSlots]);

    // Rates the sensor signals of the shot in slot `last` (negative: of the
    // whole card) against the card's: 0 good, 25, 50, 75 worst.
    int RateSensors(const ShotListRecord& list, int last, int targetType, int sensitivity) const;

    // A sign-extended little-endian integer of 1 to 4 bytes.
    static int32_t GetIntLE(const uint8_t* bytes, int n);

    // --- What the programs read directly ---
    CBVConfig& CompConfig() { return m_compConfig; }
    CBVConfig& ProgramConfig() { return m_progConfig; }
    CBVFileEx& ActiveFile() { return m_active; }
    CBVFileEx& CardFile() { return m_card; }
    CBVFileEx& NameFile() { return m_name; }
    CBVFileEx& ShotFile() { return m_shot; }
    const CompOptions& Options() const { return m_options; }
    bool StartNumberMode() const { return m_options.IsOn(CompOptions::StartNumbers); }
    // The competition's shooting program, set by the callers from Comp.BVC (2,1,15).
    int GetCurrentProgram() const { return m_program; }
    void SetCurrentProgram(int program) { m_program = program; }
    // Decimal separator of the value texts.
    std::string decimalSeparator = ",";

    // The lane's ActiveRecord; 0, or -1 when the lane has none.
    int ReadActive(int lane, ActiveRecord& active);
    // The name of a card; 0, or -1 when it has none.
    int ReadName(const CardRecord& card, NameRecord& name);

    // The record files' paths of competition n below the base folder.
    std::string FolderOf(int competition) const;

private:
    enum class File { Active, Card, Name, Shot };
    int OpenFile(File which, uint8_t create);
    int ConvertShotFile(const std::string& path, int version);
    void Report(const std::string& text);
    bool Confirm(const std::string& text);
    // Reads the card of (relay, lane) (lane 0 in start-number mode) afresh
    // from the file; its record number, or 0 when there is none.
    int FindCard(int relay, int lane, CardRecord& card);
    // GetCard's look-up and making of the card; cardNo gets its record number
    // (0 when there is none).
    int LookUpCard(CardRecord& card, uint8_t create, int& cardNo);
    // Counts a change of the lane's card in its ActiveRecord; lane 0 (a
    // start number's card) counts it on every lane that shows the card.
    void BumpLaneCounter(int lane, int relay);
    // Gives the card its shot list when it has none, in one bracket of the
    // card file; the card's record number, or 0.
    int MakeShotList(int relay, int lane, CardRecord& card);
    int32_t RewriteShots(int relay, int lane, const ShotListRecord* list);
    // Opens and locks Shot.BVD and reads list recNo into m_shots afresh: the
    // start of a read-modify-write of a card's shots. On false the file is
    // released again.
    bool LockShotList(int32_t recNo, int relay, int lane);

    std::string m_base = ".\\";
    CBVLog m_log;
    bool m_open = false;
    bool m_writable = false;  // opened with create: this program writes the files
    int m_comp = -1;
    int m_program = 0;
    CBVConfig m_compConfig;
    CBVConfig m_progConfig;
    CBVFileEx m_active;
    CBVFileEx m_card;
    CBVFileEx m_name;
    CBVFileEx m_shot;
    ShotListRecord m_shots;
    NameRecord m_nameRec;
    CardRecord m_cardRec;
    ActiveRecord m_activeRec;
    CompOptions m_options;
};
