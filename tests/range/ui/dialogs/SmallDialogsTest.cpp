// The manual shot, shot property, simulation and language dialogs: what the
// caller presets is shown, what the officer changes comes back after OK and
// nothing after Cancel; the manual shot's help goes to the window that
// opened it.
#include "tests/range/ui/DialogFixture.h"

#include "foundation/files/BVConfig.h"
#include "foundation/settings/ProgramStore.h"
#include "range/ui/setup/DlgAbout.h"
#include "range/ui/setup/DlgLanguage.h"
#include "range/ui/dialogs/DlgManual.h"
#include "range/ui/dialogs/DlgShotProperty.h"
#include "range/ui/dialogs/DlgSimulate.h"

#include <QTimer>

#include <cstdlib>
#include <memory>

namespace small_dialogs_test {

using M = CDlgManual;
using platform::IDCANCEL;
using platform::IDOK;

// The score card that opens the manual shot dialog: it answers help itself.
const platform::DialogTemplate kCardTemplate{.id = 137, .caption = "Card", .cx = 100, .cy = 60};
class CardWindow : public platform::Dialog {
public:
    CardWindow() : Dialog(kCardTemplate) {}
    void WinHelp(uint32_t data, int command) override
    {
        asked.emplace_back(data, command);
        Dialog::WinHelp(data, command);
    }
    bvtest::HelpLog asked;
};

class SmallDialogsTest : public bvtest::RangeDialogTest {
protected:
    void SetUp() override
    {
        RangeDialogTest::SetUp();
        // Program 1: three series with names of their own.
        CBVConfig file;
        file.Open(".\\Program.BVC", 1);
        ASSERT_TRUE(file.IsOpen());
        using namespace ProgramItems;
        file.WriteString(kProgramSection, 1, kKeyName, "Field");
        file.WriteInt(kProgramSection, 1, kKeySerieCount, 3);
        const char* names[] = {"Prone", "Kneeling", "Standing"};
        for (int s = 1; s <= 3; ++s)
            file.WriteString(kSerieName, 1, s + 1, names[s - 1]);
        programs.OpenFiles(true);
    }
    // A manual shot of program 1 as the score card presets it.
    std::unique_ptr<CDlgManual> Manual(int serie, int shot, int value)
    {
        auto d = std::make_unique<CDlgManual>(&card, programs);
        d->m_program = 1;
        d->m_serie = static_cast<uint8_t>(serie);
        d->m_shotNr = static_cast<uint8_t>(shot);
        d->m_value = static_cast<uint16_t>(value);
        d->m_class = "Senior";
        return d;
    }

    CProgramStore programs;
    CardWindow card;
};

TEST_F(SmallDialogsTest, ManualShotShowsThePresetsAndGivesBackWhatWasTyped)
{
    auto d = Manual(2, 7, 1150);
    ASSERT_TRUE(d->Create());
    platform::Control series = d->item(M::IDC_SERIE);
    ASSERT_EQ(series.count(), 3);
    EXPECT_EQ(series.itemText(0), "Prone");
    EXPECT_EQ(series.itemText(2), "Standing");
    EXPECT_EQ(series.itemData(2), 3);
    EXPECT_EQ(series.selection(), 1);
    EXPECT_EQ(d->item(M::IDC_VALUE).text(), "*.50");
    EXPECT_EQ(d->item(M::IDC_SHOT).text(), "7");

    struct Case {
        const char* value;
        int series;  // the entry chosen
        const char* shot;
        int expected;
    };
    const Case cases[] = {
        {"9.5", 2, "12", 950},
        {"X.5", 0, "1", 1050},
        {"10*", 1, "99", 1100},
        {"12", 1, "3", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        auto m = Manual(2, 7, 1150);
        ASSERT_TRUE(m->Create());
        m->item(M::IDC_VALUE).setText(c.value);
        m->item(M::IDC_SERIE).choose(c.series);
        m->item(M::IDC_SHOT).setText(c.shot);
        m->item(M::IDC_OK).click();
        EXPECT_EQ(m->Result(), IDOK);
        EXPECT_EQ(m->m_value, c.expected);
        EXPECT_EQ(m->m_serie, c.series + 1);
        EXPECT_EQ(m->m_shotNr, std::atoi(c.shot));
        EXPECT_EQ(m->m_class, "Senior");
    }

    // Cancel (here Escape in a modal run) changes nothing.
    auto m = Manual(2, 7, 1150);
    QTimer::singleShot(0, [&] {
        m->item(M::IDC_VALUE).setText("9.5");
        m->item(M::IDC_SERIE).choose(0);
        QTest::keyClick(m.get(), Qt::Key_Escape);
    });
    EXPECT_EQ(m->DoModal(), IDCANCEL);
    EXPECT_EQ(m->m_value, 1150);
    EXPECT_EQ(m->m_serie, 2);
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(SmallDialogsTest, ManualShotWithoutASeriesIsRefused)
{
    // Series 0, or one the program does not have, selects nothing.
    for (int serie : {0, 9}) {
        SCOPED_TRACE(serie);
        prompter.Clear();
        auto d = Manual(serie, 4, 900);
        ASSERT_TRUE(d->Create());
        d->ShowWindow(true);
        EXPECT_EQ(d->item(M::IDC_SERIE).selection(), -1);
        EXPECT_EQ(d->item(M::IDC_VALUE).text(), "9.00");
        d->item(M::IDC_OK).click();
        ASSERT_EQ(prompter.Questions().size(), 1u);
        EXPECT_EQ(prompter.Questions()[0].text, "Choose the series the shot belongs to");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->m_serie, serie);
        d->item(M::IDC_SERIE).choose(2);
        d->item(M::IDC_OK).click();
        EXPECT_EQ(d->Result(), IDOK);
        EXPECT_EQ(d->m_serie, 3);
        EXPECT_EQ(d->m_value, 900);
    }
}

TEST_F(SmallDialogsTest, ShotPropertyBothWays)
{
    for (int preset : {0, 1}) {
        CDlgShotProperty d;
        d.m_lowest = preset;
        ASSERT_TRUE(d.Create());
        EXPECT_EQ(d.item(CDlgShotProperty::IDC_LOWEST).check(), preset);
        EXPECT_EQ(d.item(CDlgShotProperty::IDC_LOWEST).text(), "Lowest score (super final)");
        d.item(CDlgShotProperty::IDC_LOWEST).click();
        d.item(CDlgShotProperty::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_lowest, 1 - preset);
    }
    CDlgShotProperty d;
    ASSERT_TRUE(d.Create());
    d.item(CDlgShotProperty::IDC_LOWEST).click();
    d.item(CDlgShotProperty::IDC_CANCEL).click();
    EXPECT_EQ(d.Result(), IDCANCEL);
    EXPECT_EQ(d.m_lowest, 0);
}

TEST_F(SmallDialogsTest, SimulationFieldsAndTheTemplatesOwnTexts)
{
    using Sim = CDlgSimulate;
    CDlgSimulate d;
    EXPECT_EQ(d.Caption(), "<Simulate>");
    d.m_x = "12.5";
    d.m_turned = 1;
    ASSERT_TRUE(d.Create());
    EXPECT_EQ(d.item(Sim::IDC_X).text(), "12.5");
    EXPECT_EQ(d.item(Sim::IDC_TURNED).check(), 1);
    EXPECT_EQ(d.item(Sim::IDC_FRAME_SHOT).text(), "<Frame shot>");
    EXPECT_EQ(d.item(1448).text(), "\xB0" "C");

    const std::pair<int, const char*> typed[] = {
        {Sim::IDC_Y, "-3"},       {Sim::IDC_TIME_A, "1"}, {Sim::IDC_TIME_B, "2"},      {Sim::IDC_TIME_C, "3"},
        {Sim::IDC_TIME_D, "4"},   {Sim::IDC_CHANGE, "5"}, {Sim::IDC_TEMPERATURE, "21"}, {Sim::IDC_RUN, "6"},
    };
    for (auto [id, text] : typed)
        d.item(id).setText(text);
    d.item(Sim::IDC_FRAME_SHOT).click();
    d.item(Sim::IDC_TURNED).click();
    d.item(platform::IDOK).click();
    EXPECT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.m_x, "12.5");
    EXPECT_EQ(d.m_y, "-3");
    EXPECT_EQ(d.m_frameShot, 1);
    EXPECT_EQ(d.m_turned, 0);
    EXPECT_EQ(d.m_timeA + d.m_timeB + d.m_timeC + d.m_timeD, "1234");
    EXPECT_EQ(d.m_change, "5");
    EXPECT_EQ(d.m_temperature, "21");
    EXPECT_EQ(d.m_run, "6");
}

TEST_F(SmallDialogsTest, LanguageCodeAndRadioBothWays)
{
    struct Case {
        const char* code;
        int radio;
    };
    const Case cases[] = {{"EN", 0}, {"NO", 1}, {"SE", 2}, {"DK", 3}, {"DE", 4}, {"US", -1}, {"en", -1}, {"", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CDlgLanguage d;
        d.m_code = c.code;
        ASSERT_TRUE(d.Create());
        EXPECT_EQ(d.item(CDlgLanguage::IDC_ENGLISH).selection(), c.radio);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(d.item(CDlgLanguage::IDC_ENGLISH + i).check(), i == c.radio ? 1 : 0);
        // OK gives the code of the radio, the empty code without one.
        d.item(CDlgLanguage::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_code, c.radio < 0 ? "" : c.code);
    }
    const char* codes[] = {"EN", "NO", "SE", "DK", "DE"};
    for (int i = 0; i < 5; ++i) {
        CDlgLanguage d;
        d.m_code = "XX";
        ASSERT_TRUE(d.Create());
        d.item(CDlgLanguage::IDC_ENGLISH + i).click();
        d.item(CDlgLanguage::IDC_OK).click();
        EXPECT_EQ(d.m_code, codes[i]);
        EXPECT_EQ(d.m_index, i);
    }
    CDlgLanguage d;
    d.m_code = "SE";
    ASSERT_TRUE(d.Create());
    d.item(CDlgLanguage::IDC_ENGLISH + 4).click();
    d.item(CDlgLanguage::IDC_CANCEL).click();
    EXPECT_EQ(d.Result(), IDCANCEL);
    EXPECT_EQ(d.m_code, "SE");
}

TEST_F(SmallDialogsTest, ManualShotHelpGoesThroughTheCardTheOthersToTheProgram)
{
    card.Create();
    auto manual = Manual(1, 1, 950);
    ASSERT_TRUE(manual->Create());
    PressHelp(manual.get(), manual->item(M::IDC_VALUE).widget());
    EXPECT_EQ(card.asked, (bvtest::HelpLog{{148, 2}, {M::IDC_VALUE, 3}}));

    CDlgShotProperty property(&card);
    ASSERT_TRUE(property.Create());
    PressHelp(&property, property.item(CDlgShotProperty::IDC_LOWEST).widget());
    CDlgLanguage language(&card);
    ASSERT_TRUE(language.Create());
    PressHelp(&language, language.item(CDlgLanguage::IDC_OK).widget());
    // The kit's own way: straight to the program's help, past the card.
    EXPECT_EQ(card.asked.size(), 2u);
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{148, 2},
                                              {M::IDC_VALUE, 3},
                                              {157, 2},
                                              {CDlgShotProperty::IDC_LOWEST, 3},
                                              {161, 2},
                                              {CDlgLanguage::IDC_OK, 3}}));
}

TEST_F(SmallDialogsTest, AboutBoxInTheLanguage)
{
    CDlgAbout about;
    ASSERT_TRUE(about.Create());
    EXPECT_EQ(about.Caption(), texts.GetText("IDS_ABOUT_TITLE"));
    EXPECT_EQ(about.item(CDlgAbout::IDC_OK).text(), texts.GetText("IDS_ABOUT_OK"));
    EXPECT_EQ(about.item(CDlgAbout::IDC_VERSION).text(), texts.GetText("IDS_ABOUT_VER"));
    EXPECT_EQ(about.item(CDlgAbout::IDC_COPYRIGHT).text(), texts.GetText("IDS_ABOUT_COPYRIGHT"));
    EXPECT_FALSE(about.item(CDlgAbout::IDC_VERSION).text().empty());
    SaveScreen(about, "range-about.png");
    about.item(CDlgAbout::IDC_OK).click();
    EXPECT_EQ(about.Result(), IDOK);
}

TEST_F(SmallDialogsTest, Screenshots)
{
    auto manual = Manual(2, 7, 1150);
    ASSERT_TRUE(manual->Create());
    SaveScreen(*manual, "manual-shot.png");
    CDlgShotProperty property;
    property.m_lowest = 1;
    ASSERT_TRUE(property.Create());
    SaveScreen(property, "shot-property.png");
    CDlgSimulate simulate;
    simulate.m_x = "12.5";
    simulate.m_y = "-3.0";
    ASSERT_TRUE(simulate.Create());
    SaveScreen(simulate, "simulate.png");
    CDlgLanguage language;
    language.m_code = "NO";
    ASSERT_TRUE(language.Create());
    SaveScreen(language, "language.png");
}

}  // namespace small_dialogs_test
