#pragma once
// The profiles page: the profiles, each an ordered list of places, a
// picture with its display time each.
#include <vector>

#include "display/config/ProfilePlaces.h"
#include "display/ui/config/ConfigPage.h"

class CGridList;
class QPainter;
class QRect;

class CDlgProfil : public CConfigPage {
public:
    enum {
        IDD = 137,
        IDC_PROFILES = 1127,
        IDC_NEW = 1128,
        IDC_DELETE = 1129,
        IDC_NAME = 1060,
        IDC_PICTURES = 1061,
        IDC_ADD = 1073,
        IDC_REMOVE = 1074,
        IDC_PLACES = 1075,
    };
    enum { kColName = 0, kColSeconds = 1 };

    CDlgProfil(CDlgConfig& config, QWidget* parent);

    bool OnInitDialog() override;
    void SetTexts() override;
    void OnShown() override;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override;

    CGridList& Grid() const { return *m_grid; }
    // The place each grid row stands for.
    const std::vector<ProfilePlaces::PlaceRow>& Places() const { return m_places; }

    void FillProfiles();
    void FillPictures();
    void FillPlaces();

private:
    // The selected profile's number; 0 none.
    int SelectedProfile() const;
    int SelectedPicture() const;
    void ShowProfile(bool focusList);
    void OnNew();
    void OnDelete();
    void SaveName();
    void OnAdd();
    void OnRemove();
    void DefineGrid();
    void DrawRow(QPainter& painter, int row, const QRect& rect) const;

    CGridList* m_grid;
    std::vector<ProfilePlaces::PlaceRow> m_places;
    bool m_initialised = false;
    bool m_filling = false;
};
