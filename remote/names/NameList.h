#pragma once
// The shooters of one relay of a range folder's competition, one row per
// lane, as the name page lists and corrects them. Only name records the
// range control already made are touched: no card and no name record is
// ever created here, and a file that is missing stays missing.
#include "foundation/comp/DataComp.h"
#include "foundation/files/BVConfig.h"

#include <string>
#include <vector>

class NameList {
public:
    static constexpr int kMaxLane = 100;
    static constexpr int kColumns = 6;
    static constexpr int kResultsProgramNone = 8;  // the range keeps its names itself

    struct Row {
        int lane = 0;
        int nameRec = 0;  // 0: the card has no name record
    };

    // Lists the lanes of the used line channels that the competition marks
    // active, with the names of `relay` (-1: the relay now on the first
    // listed lane). Read-only. The relay shown afterwards.
    int Fill(const std::string& rangeFolder, int comp, int relay);
    const std::vector<Row>& Rows() const { return m_rows; }
    int ShownRelay() const { return m_relay; }

    // The text of a cell, read afresh from Name.BVD; empty for no row.
    std::string CellText(int row, int column);
    // The texts of every column of a row, from one read of its record.
    std::vector<std::string> RowTexts(int row);

    // Why an edit of a row is refused, or 0 when it may be edited:
    // -1 no lane, 1 no name record, 2 the results program is not "none".
    int CanEdit(int row);
    // Stores an edited cell (columns 1..5) into the row's name record; false
    // when the record cannot be read or written (then nothing is written).
    bool Store(int row, int column, const std::string& text);
    // Writes a cleared record over the row's name record, when that record
    // can be read.
    bool Clear(int row);
    // Clears every listed row with a name record.
    void ClearRelay();

    // The change a typed text makes to a record; false for no column.
    static bool Apply(NameRecord& record, int column, const std::string& text);
    static std::string Text(const NameRecord& record, int column);
    static std::string StartScoreText(int hundredths);

private:
    // Opens the competition's Name.BVD as it stands, never making it.
    bool OpenNames(CBVFileEx& file, bool write) const;
    int NameRec(int row) const;
    bool ReadRecord(int row, NameRecord& record);
    bool WriteRecord(int row, const NameRecord& record);

    std::string m_folder;
    int m_comp = 0;
    int m_relay = -1;
    std::vector<Row> m_rows;
};
