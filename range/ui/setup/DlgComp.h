#pragma once
// The competition choice: the competitions of the range folder in a list,
// with the one open now marked ">", to pick one, make a new one, change a
// competition's settings, delete one, or go over to the practice
// competition. The frame acts on the choice after OK (ChosenCompetition,
// Created).
#include "platform/ui/Dialog.h"

#include <functional>

struct RangeObjects;

class CDlgComp : public platform::Dialog {
public:
    enum {
        IDD = 132,
        IDC_DELETE = 1009,
        IDC_SELECT = 1080,
        IDC_NEW = 1081,
        IDC_LIST = 1083,
        IDC_PRACTICE = 1084,
        IDC_EDIT = 1085,
        IDC_CANCEL = 1217,
    };

    // createCompetition makes competition n as the frame does; false when
    // it could not, having told the officer why.
    CDlgComp(QWidget* parent, RangeObjects& objects, std::function<bool(int)> createCompetition);
    ~CDlgComp() override;

    bool OnInitDialog() override;
    // Enter picks the selected competition, as Select does.
    void OnOK() override { OnSelect(); }

    // The competition to go to (0 the practice competition), -1 for none.
    int ChosenCompetition() const { return m_chosen; }
    // The competition chosen was made here and wants its settings.
    bool Created() const { return m_created; }

private:
    void Fill();
    // The number of the selected row, or -1 after telling the officer.
    int SelectedCompetition();
    void OnSelect();
    void OnNew();
    void OnEdit();
    void OnDelete();
    void OnPractice();

    RangeObjects& m_obj;
    std::function<bool(int)> m_create;
    int m_chosen = -1;
    bool m_created = false;
};
