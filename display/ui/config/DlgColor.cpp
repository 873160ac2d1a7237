#include "display/ui/config/DlgColor.h"

#include "display/settings/VisSettings.h"
#include "display/ui/config/ColourSample.h"
#include "display/ui/config/DlgConfig.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Prompter.h"

using namespace platform;

namespace {

using D = CDlgColor;

// Colour k (1 .. 11): its button and text.
struct ColourRow {
    int button;
    const char* key;
};
constexpr ColourRow kColourRows[ColourSet::kColours] = {
    {1079, "IDS_COLOR_BACKGROUND"}, {1080, "IDS_COLOR_TARGET"}, {1081, "IDS_COLOR_CENTER"},
    {1082, "IDS_COLOR_SHOT"},       {1083, "IDS_COLOR_LASTSHOT"}, {1078, "IDS_COLOR_TEXT"},
    {1084, "IDS_COLOR_PLACE1"},     {1085, "IDS_COLOR_PLACE2"}, {1086, "IDS_COLOR_PLACE3"},
    {1087, "IDS_COLOR_PLACE"},      {1095, "IDS_COLOR_HIGHLIGHT"},
};
constexpr ColourRow kPresetRows[ColourSet::kPresets] = {
    {1088, "IDS_COLOR_DEFAULT"},       {1091, "IDS_COLOR_DEFAULT_BLUE"},  {1092, "IDS_COLOR_DEFAULT_WHITE"},
    {1093, "IDS_COLOR_DEFAULT_BLACK"}, {1094, "IDS_COLOR_DEFAULT_GREEN"},
};

// The buttons in the order the page shows them: the background and the
// text first, then the target, then the places.
constexpr int kColourOrder[ColourSet::kColours] = {1, 6, 11, 2, 3, 4, 5, 7, 8, 9, 10};

constexpr ControlTemplate ColourButton(int row, int colour)
{
    return {.id = kColourRows[colour - 1].button, .kind = ControlKind::Button, .row = row, .col = 1,
            .key = kColourRows[colour - 1].key};
}
constexpr ControlTemplate PresetButton(int row, int preset)
{
    return {.id = kPresetRows[preset - 1].button, .kind = ControlKind::Button, .row = row, .col = 2,
            .key = kPresetRows[preset - 1].key};
}

const ControlTemplate kControls[] = {
    {.id = D::IDC_LIST, .kind = ControlKind::ListView, .row = 0, .col = 0, .rowSpan = 11, .style = CS_STRETCH},
    ColourButton(0, kColourOrder[0]), ColourButton(1, kColourOrder[1]), ColourButton(2, kColourOrder[2]),
    ColourButton(3, kColourOrder[3]), ColourButton(4, kColourOrder[4]), ColourButton(5, kColourOrder[5]),
    ColourButton(6, kColourOrder[6]), ColourButton(7, kColourOrder[7]), ColourButton(8, kColourOrder[8]),
    ColourButton(9, kColourOrder[9]), ColourButton(10, kColourOrder[10]),
    PresetButton(0, 1), PresetButton(1, 2), PresetButton(2, 3), PresetButton(3, 4), PresetButton(4, 5),
    {.id = D::IDC_COPYALL, .kind = ControlKind::Button, .row = 6, .col = 2, .key = "IDS_COLOR_COPYALL"},
    {.id = D::IDC_TARGET_GROUP, .kind = ControlKind::Group, .row = 0, .col = 3, .rowSpan = 7,
     .key = "IDS_COLOR_GRAFIC", .style = CS_STRETCH},
    {.id = D::IDC_TARGET_SAMPLE, .kind = ControlKind::Custom, .parent = D::IDC_TARGET_GROUP, .row = 0, .col = 0,
     .style = CS_STRETCH},
    {.id = D::IDC_TEXT_GROUP, .kind = ControlKind::Group, .row = 7, .col = 3, .rowSpan = 4, .key = "IDS_COLOR_LIST"},
    {.id = D::IDC_TEXT_SAMPLE, .kind = ControlKind::Custom, .parent = D::IDC_TEXT_GROUP, .row = 0, .col = 0,
     .style = CS_STRETCH},
};
const DialogTemplate kColor{.id = D::IDD, .cx = 480, .cy = 300, .controls = kControls};

constexpr int kListWidth = 200;

}  // namespace

int CDlgColor::ColourButton(int colour) { return kColourRows[colour - 1].button; }
int CDlgColor::PresetButton(int preset) { return kPresetRows[preset - 1].button; }

CDlgColor::CDlgColor(CDlgConfig& config, QWidget* parent)
    : CConfigPage(kColor, config, parent, true),
      m_targetSample(new CColourSample(CColourSample::Kind::Target, this)),
      m_textSample(new CColourSample(CColourSample::Kind::Text, this))
{
    SetCustomControl(IDC_TARGET_SAMPLE, m_targetSample);
    SetCustomControl(IDC_TEXT_SAMPLE, m_textSample);
    OnClick(IDC_LIST, [this] { LoadColours(); });
    OnSelChange(IDC_LIST, [this] { OnListChange(); });
    for (int k = 1; k <= ColourSet::kColours; ++k)
        OnClick(ColourButton(k), [this, k] { OnColour(k); });
    for (int n = 1; n <= ColourSet::kPresets; ++n)
        OnClick(PresetButton(n), [this, n] { Preset(n); });
    OnClick(IDC_COPYALL, [this] { CopyToAll(); });
}

bool CDlgColor::OnInitDialog()
{
    Dialog::OnInitDialog();
    item(IDC_LIST).insertColumn(0, TextOfKey("IDS_COLOR_PICTLIST_H0"), kListWidth);
    item(IDC_LIST).widget()->setMinimumWidth(kListWidth + 10);
    SetTexts();
    return true;
}

void CDlgColor::SetTexts()
{
    CConfigPage::SetTexts();
    item(IDC_LIST).setColumnHeader(0, TextOfKey("IDS_COLOR_PICTLIST_H0"));
}

void CDlgColor::OnShown()
{
    FillList();
    LoadColours();
}

int CDlgColor::SelectedPicture() const
{
    Control list = item(IDC_LIST);
    const int row = list.selection();
    return row < 0 ? 0 : static_cast<int>(list.itemData(row));
}

void CDlgColor::FillList()
{
    Control list = item(IDC_LIST);
    m_filling = true;
    list.resetContent();
    Files().Settings().Refresh();
    for (const ColourSet::PictureRow& row : ColourSet::Rows(Files()))
        list.addItem(row.name, row.picture);
    int at = list.findItemData(m_config.currentPicture);
    if (at < 0 && list.count() > 0)
        at = 0;
    list.setSelection(at);
    m_filling = false;
}

void CDlgColor::LoadColours()
{
    const int b = SelectedPicture();
    CBVConfig* store = b ? Files().Picture(b) : nullptr;
    if (store) {
        store->Refresh();
        m_colours = ColourSet::Read(*store);
    }
    m_targetSample->SetColours(m_colours);
    m_textSample->SetColours(m_colours);
}

void CDlgColor::OnListChange()
{
    if (m_filling)
        return;
    const int b = SelectedPicture();
    if (b == 0 || b == m_config.currentPicture)
        return;
    m_config.currentPicture = b;
    LoadColours();
}

uint32_t CDlgColor::PickColour(uint32_t colour)
{
    ColourRequest request;
    request.colour = colour;
    request.fullOpen = true;
    request.solidOnly = true;
    request.customColours.assign(m_custom.begin(), m_custom.end());
    const bool chosen = CurrentPrompter().ChooseColour(request);
    for (size_t i = 0; i < m_custom.size() && i < request.customColours.size(); ++i)
        m_custom[i] = request.customColours[i];
    m_targetSample->update();
    m_textSample->update();
    return chosen ? request.colour : colour;
}

void CDlgColor::OnColour(int colour)
{
    const int b = SelectedPicture();
    CBVConfig* store = b ? Files().Picture(b) : nullptr;
    if (!store)
        return;
    // A cancelled choice writes the colour it started from.
    const uint32_t value = PickColour(m_colours[static_cast<size_t>(colour - 1)]);
    ColourSet::WriteOne(*store, colour, value);
    LoadColours();
}

void CDlgColor::Preset(int preset)
{
    const int b = SelectedPicture();
    CBVConfig* store = b ? Files().Picture(b) : nullptr;
    if (!store)
        return;
    m_colours = ColourSet::ApplyPreset(m_colours, preset);
    ColourSet::Write(*store, m_colours);
    LoadColours();
}

void CDlgColor::CopyToAll() { ColourSet::CopyToAll(Files(), m_colours); }
