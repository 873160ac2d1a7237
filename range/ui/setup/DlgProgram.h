#pragma once
// The shooting program editor: the programs of one organisation in the upper
// list (name, shots per line, command value, equipment), the series of the
// current program in the lower grid, whose four tabs show the basic values
// and timing, the sub-sums, the classes and the exchange numbers. Every edit
// and every button writes the program files at once, key by key, through the
// editor's own program store; OK and Escape only close. The built-in
// organisations' programs need the edit right; the private ones never do.
// A program travels to another range through the exchange file beside the
// program files (Export, Import).
#include "foundation/settings/ProgramStore.h"
#include "platform/ui/Dialog.h"
#include "range/dialogs/GridHandshake.h"

#include <memory>
#include <string>

class CBVConfig;
class CGridList;

class CDlgProgram : public platform::Dialog {
public:
    enum {
        IDD = 137,
        IDC_SERIES = 1224,
        IDC_OK = 1225,
        IDC_NEWPROG = 1226,
        IDC_DELPROG = 1227,
        IDC_NEWSERIE = 1228,
        IDC_DELSERIE = 1229,
        IDC_NEWCOLUMN = 1230,
        IDC_DELCOLUMN = 1231,
        IDC_PROGRAMS = 1232,
        IDC_ORG = 1233,
        IDC_ORG_LABEL = 1234,
        IDC_EXPORT = 1235,
        IDC_IMPORT = 1236,
        IDC_TABS = 1404,
        IDC_ADMIN = 1417,
        IDC_ADMIN_LABEL = 1420,
    };

    // The range configuration tells whether this is the maker's range; the
    // program files and the exchange file lie in the folder given.
    CDlgProgram(CBVConfig& range, QWidget* parent = nullptr, const std::string& folder = ".\\");
    ~CDlgProgram() override;

    bool OnInitDialog() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    CGridList& Programs() const { return *m_programs; }
    CGridList& Series() const { return *m_series; }
    CProgramStore& Store() { return m_store; }
    bool EditRight() const { return m_editRight; }
    // The program of the list's current row, 0 when none.
    int CurrentProgram() const;
    int CurrentTab() const;

private:
    void DefineProgramColumns();
    void FillPrograms();
    void FillSeries();
    void ShowProgramRow(int row);
    void ShowSerieRow(int row);
    int Filter() const;
    void StoreProgramEdit(const GridCellEdit& edit);
    void StoreSerieEdit(const GridCellEdit& edit);
    void OnHeaderClick(int column);
    bool Refuse();  // without the edit right: tells so, true
    void OnNewProgram();
    void OnDeleteProgram();
    void OnNewSerie();
    void OnDeleteSerie();
    void OnNewColumn();
    void OnDeleteColumn();
    void OnExport();
    void OnImport();
    // The new name of a sub-sum or class in the input dialog; false when
    // the officer cancels.
    bool AskName(const std::string& prompt, std::string& name);
    std::string ExchangeFile() const;

    CBVConfig& m_range;
    CProgramStore m_store;
    CGridList* m_programs;
    CGridList* m_series;
    GridHandshake m_programShake;
    GridHandshake m_serieShake;
    bool m_editRight = false;
};
