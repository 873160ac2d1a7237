#pragma once
// The colours page: the eleven colours of a picture, picked with the colour
// chooser or taken from five presets, copied to every picture if wanted,
// with a target and a text drawn in them.
#include "display/config/ColourSet.h"
#include "display/ui/config/ConfigPage.h"

class CColourSample;

class CDlgColor : public CConfigPage {
public:
    enum {
        IDD = 140,
        IDC_LIST = 1090,
        IDC_COPYALL = 1089,
        IDC_TARGET_GROUP = 1076,
        IDC_TEXT_GROUP = 1077,
        // The previews inside the two groups.
        IDC_TARGET_SAMPLE = 65140,
        IDC_TEXT_SAMPLE = 65141,
    };
    // The button of colour k (1 .. 11) and of preset n (1 .. 5).
    static int ColourButton(int colour);
    static int PresetButton(int preset);

    CDlgColor(CDlgConfig& config, QWidget* parent);

    bool OnInitDialog() override;
    void SetTexts() override;
    void OnShown() override;

    int SelectedPicture() const;
    const ColourSet::Colours& Colours() const { return m_colours; }
    const ColourSet::CustomColours& CustomColours() const { return m_custom; }
    CColourSample& TargetSample() const { return *m_targetSample; }
    CColourSample& TextSample() const { return *m_textSample; }

    void FillList();
    void LoadColours();

private:
    uint32_t PickColour(uint32_t colour);
    void OnColour(int colour);
    void Preset(int preset);
    void CopyToAll();
    void OnListChange();

    ColourSet::Colours m_colours{};
    ColourSet::CustomColours m_custom = ColourSet::kInitialCustomColours;
    CColourSample* m_targetSample;
    CColourSample* m_textSample;
    bool m_filling = false;
};
