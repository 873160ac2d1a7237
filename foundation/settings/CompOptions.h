#pragma once
// A competition's options: 30 characters of '0' and '1' kept in its Comp.BVC
// at (2,1,1), one option per position counted from 0. An option is on when
// its character is '1'; anything else, and any position past the end of a
// shorter stored text, is off.
#include <array>
#include <string>
#include <string_view>

class CompOptions {
public:
    static constexpr int kLength = 30;
    // What a competition without the item has.
    static constexpr const char* kDefault = "011011110000010000000000000000";

    // Positions in the text.
    enum Option {
        Resolution100 = 0,         // 1/100 mm resolution
        DisplayEnergy = 1,
        BlackAimingMark = 2,
        RemoveFrameShots = 3,
        RemindSendResults = 4,
        RemindChangeSeries = 5,
        ShooterClock = 6,
        AutoWelcomeText = 7,
        BlockAllMarking = 8,
        EnglishDisplayText = 9,
        StartNumbers = 10,         // cards per start number instead of per lane
        ShooterSelectsSeries = 12,
        RelayChangeAllLanes = 13,
        Last10ShotsButton = 14,
        SendResultsAutomatically = 15,
    };

    // Organisation codes of the competition (2,1,16) where the Default
    // button differs.
    enum Organisation { Private = 0, DFS = 1, NSF = 2, NJFF = 3, FSR = 4, ISSF = 5, SSF = 6, USA = 7 };

    // How the settings dialog shows an option's box.
    enum class Box { Shown, ShownDisabled, Hidden, HiddenDisabled };

    struct Info {
        int position;
        char defaultValue;  // as in kDefault
        // What the settings dialog's Default button sets: '1', '0', or 'u'
        // for unchanged; NSF and ISSF, and NJFF, have their own for some.
        char button;
        char buttonNsfIssf;
        char buttonNjff;
        Box box;
        const char* textKey;  // the label of its box
    };
    // Every option (positions 0 to 10 and 12 to 15), in position order.
    static const std::array<Info, 15>& Table();

    CompOptions() : CompOptions(kDefault) {}
    // The options of a stored text; a shorter text leaves the rest off.
    explicit CompOptions(std::string_view stored);
    // All 30 off ("000...0"), where the settings dialog starts before it
    // sets the ticked boxes.
    static CompOptions AllOff() { return CompOptions(""); }

    bool IsOn(int position) const;
    // Sets an option of a box (0 to 10, 12 to 15); positions without an
    // option stay '0'.
    void Set(int position, bool on);
    // What the settings dialog's Default button does for an organisation.
    void ApplyDefaultButton(int organisation);

    // The 30 characters as they are written to (2,1,1).
    std::string Text() const { return std::string(m_text, kLength); }
    const char* c_str() const { return m_text; }

    bool operator==(const CompOptions& other) const { return Text() == other.Text(); }

private:
    char m_text[32];  // 30 characters and a NUL, as a configuration value
};
