// The print and send dialogs driven by control id: what the caller presets
// comes out again, changed only by what the officer did, after OK and (for
// the print settings) after Cancel; what is shown for each choice; the send
// dialog's presets by results program and its refusal of an empty range.
#include "tests/range/ui/DialogFixture.h"

#include "platform/ui/ControlWidgets.h"
#include "range/dialogs/SendPresets.h"
#include "range/ui/dialogs/DlgPrint.h"
#include "range/ui/dialogs/DlgSend.h"

#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <set>

namespace {

using D = CDlgPrint;
using S = CDlgSend;
using platform::IDCANCEL;
using platform::IDOK;

CompOptions StartNumbers(bool on)
{
    CompOptions o;
    o.Set(CompOptions::StartNumbers, on);
    return o;
}

// What the print command presets from the lanes and the print settings.
void Preset(CDlgPrint& d)
{
    d.m_caption = "Print cards";
    d.m_relayFrom = 3;
    d.m_relayTo = 4;
    d.m_laneFrom = 2;
    d.m_laneTo = 100;
    d.m_allTargets = 0;
    d.m_asList = 0;
    d.m_seriesPerPage = 8;
    d.m_margin = 15;
    d.m_blackMark = 1;
    d.m_practice = 0;
    d.m_names = 1;
    d.m_trueSize = 0;
    d.m_gauge = 2;
    d.m_completeTarget = 1;
    for (int i = 0; i < 10; ++i)
        d.m_zoom[i] = i % 2;
}

// The members as one comparable row.
std::vector<int> Members(const CDlgPrint& d)
{
    std::vector<int> v = {d.m_relayFrom, d.m_relayTo,   d.m_laneFrom, d.m_laneTo, d.m_allTargets,
                          d.m_asList,    d.m_seriesPerPage, d.m_margin, d.m_blackMark, d.m_practice,
                          d.m_names,     d.m_trueSize,  d.m_gauge,    d.m_completeTarget};
    v.insert(v.end(), d.m_zoom, d.m_zoom + 10);
    return v;
}

bool ReadOnly(const platform::Control& c) { return static_cast<QLineEdit*>(c.widget())->isReadOnly(); }

class PrintSendDialogTest : public bvtest::RangeDialogTest {
protected:
    void TearDown() override
    {
        // Choosing what to print or send stores nothing.
        EXPECT_TRUE(FolderEmpty());
        RangeDialogTest::TearDown();
    }
};

TEST_F(PrintSendDialogTest, PrintMembersComeBackAfterOkAndAfterCancel)
{
    struct Case {
        const char* name;
        std::function<void(CDlgPrint&)> act;
        int button;
        std::function<void(CDlgPrint&)> expect;  // on the presets
    };
    const Case cases[] = {
        {"untouched OK", [](CDlgPrint&) {}, D::IDC_OK, [](CDlgPrint&) {}},
        {"untouched Cancel", [](CDlgPrint&) {}, D::IDC_CANCEL, [](CDlgPrint&) {}},
        {"properties kept on Cancel",
         [](CDlgPrint& d) {
             d.item(D::IDC_BLACK).click();
             d.item(D::IDC_PRACTICE).click();
             d.item(D::IDC_MARGIN).setText("20");
             d.item(D::IDC_PAGE).setText("12");
             d.item(D::IDC_ZOOM1 + 9).click();
             d.item(D::IDC_COMPLETE).click();
         },
         D::IDC_CANCEL,
         [](CDlgPrint& d) {
             d.m_blackMark = 0;
             d.m_practice = 1;
             d.m_margin = 20;
             d.m_seriesPerPage = 12;
             d.m_zoom[9] = 0;
             d.m_completeTarget = 0;
         }},
        {"a list of all targets",
         [](CDlgPrint& d) {
             d.item(D::IDC_LIST).click();
             d.item(D::IDC_ALL).click();
         },
         D::IDC_OK,
         [](CDlgPrint& d) {
             d.m_asList = 1;
             d.m_allTargets = 1;
         }},
        {"ranges and true size with a gauge",
         [](CDlgPrint& d) {
             d.item(D::IDC_RELAY_FROM).setText("7");
             d.item(D::IDC_RELAY_TO).setText("9999");
             d.item(D::IDC_LANE_FROM).setText("1");
             d.item(D::IDC_LANE_TO).setText("99");
             d.item(D::IDC_TRUE_SIZE).click();
             d.item(D::IDC_GAUGE).choose(7);
             d.item(D::IDC_NAMES).click();
         },
         D::IDC_OK,
         [](CDlgPrint& d) {
             d.m_relayFrom = 7;
             d.m_relayTo = 9999;
             d.m_laneFrom = 1;
             d.m_laneTo = 99;
             d.m_trueSize = 1;
             d.m_gauge = 7;
             d.m_names = 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDlgPrint d(nullptr, CompOptions());
        Preset(d);
        ASSERT_TRUE(d.Create());
        EXPECT_EQ(d.Caption(), "Print cards");
        EXPECT_EQ(d.item(D::IDC_LANE_TO).text(), "100");
        EXPECT_EQ(d.item(D::IDC_GAUGE).selection(), 2);
        c.act(d);
        d.item(c.button).click();
        EXPECT_EQ(d.Result(), c.button == D::IDC_OK ? IDOK : IDCANCEL);
        CDlgPrint expected(nullptr, CompOptions());
        Preset(expected);
        c.expect(expected);
        EXPECT_EQ(Members(d), Members(expected));
    }
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(PrintSendDialogTest, PrintRunsModallyAndEscapeStillKeepsTheSettings)
{
    CDlgPrint d(nullptr, CompOptions());
    Preset(d);
    QTimer::singleShot(0, [&] {
        d.item(D::IDC_MARGIN).setText("30");
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(d.DoModal(), IDCANCEL);
    EXPECT_EQ(d.m_margin, 30);
}

TEST_F(PrintSendDialogTest, PrintPropertiesFollowListGraphicalAndTrueSize)
{
    const std::vector<int> cardOnly = {D::IDC_TRUE_SIZE, D::IDC_BLACK,  D::IDC_PRACTICE,     D::IDC_PAGE,
                                       D::IDC_PAGE_SPIN, D::IDC_PAGE_LABEL, D::IDC_MARGIN,   D::IDC_MARGIN_SPIN,
                                       D::IDC_MARGIN_LABEL, D::IDC_MARGIN_UNIT};
    const std::vector<int> gauge = {D::IDC_GAUGE, D::IDC_GAUGE_LABEL};
    std::vector<int> zoom = {D::IDC_ZOOM_LABEL, D::IDC_COMPLETE};
    for (int i = 0; i < 10; ++i)
        zoom.push_back(D::IDC_ZOOM1 + i);

    struct Case {
        const char* name;
        int asList, trueSize;
        std::vector<int> clicks;
        bool cards, gauge, zoom;
    };
    const Case cases[] = {
        {"list", 1, 0, {}, false, false, false},
        {"list, true size set", 1, 1, {}, false, false, false},
        {"graphical", 0, 0, {}, true, false, true},
        {"graphical, true size", 0, 1, {}, true, true, false},
        {"no choice yet counts as graphical", -1, 0, {}, true, false, true},
        {"to a list by click", 0, 1, {D::IDC_LIST}, false, false, false},
        {"and back again as before", 0, 1, {D::IDC_LIST, D::IDC_GRAPHICAL}, true, true, false},
        {"true size by click", 0, 0, {D::IDC_TRUE_SIZE}, true, true, false},
        {"true size off by click", 0, 1, {D::IDC_TRUE_SIZE}, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDlgPrint d(nullptr, CompOptions());
        Preset(d);
        d.m_asList = c.asList;
        d.m_trueSize = c.trueSize;
        ASSERT_TRUE(d.Create());
        for (int id : c.clicks)
            d.item(id).click();
        for (int id : cardOnly)
            EXPECT_EQ(d.item(id).visible(), c.cards) << id;
        for (int id : gauge)
            EXPECT_EQ(d.item(id).visible(), c.gauge) << id;
        for (int id : zoom)
            EXPECT_EQ(d.item(id).visible(), c.zoom) << id;
        // Names and the ranges are wanted for a list as well.
        EXPECT_TRUE(d.item(D::IDC_NAMES).visible());
        EXPECT_TRUE(d.item(D::IDC_PROPERTIES).visible());
        EXPECT_TRUE(d.item(D::IDC_LANE_FROM).visible());
    }
}

TEST_F(PrintSendDialogTest, PrintRangesByStartNumberAllTargetsAndLaneLimits)
{
    const std::vector<int> laneControls = {D::IDC_LANE_FROM,  D::IDC_LANE_FROM_SPIN, D::IDC_LANE_TO,
                                           D::IDC_LANE_TO_SPIN, D::IDC_LANE_LABEL,   D::IDC_LANE_TO_LABEL};
    for (bool startNumbers : {false, true}) {
        SCOPED_TRACE(startNumbers ? "by start number" : "by relay");
        CDlgPrint d(nullptr, StartNumbers(startNumbers));
        Preset(d);
        ASSERT_TRUE(d.Create());
        for (int id : laneControls)
            EXPECT_EQ(d.item(id).visible(), !startNumbers) << id;
        EXPECT_EQ(d.item(D::IDC_RELAY_LABEL).text(), startNumbers ? "Start no. from" : "Relay from");
        EXPECT_TRUE(d.item(D::IDC_RELAY_TO).visible());
    }

    CDlgPrint d(nullptr, CompOptions());
    Preset(d);
    d.m_allTargets = 1;
    ASSERT_TRUE(d.Create());
    // Lanes go up to 100, relays to 9999.
    for (int id : {D::IDC_LANE_FROM_SPIN, D::IDC_LANE_TO_SPIN})
        EXPECT_EQ(static_cast<platform::SpinCtrl*>(d.item(id).widget())->Upper(), 100);
    for (int id : {D::IDC_RELAY_FROM_SPIN, D::IDC_RELAY_TO_SPIN})
        EXPECT_EQ(static_cast<platform::SpinCtrl*>(d.item(id).widget())->Upper(), 9999);
    // A preset box changes nothing until it is clicked.
    EXPECT_TRUE(d.item(D::IDC_LANE_FROM_SPIN).enabled());
    EXPECT_EQ(d.item(D::IDC_GAUGE).count(), CDlgPrint::kGauges);
    EXPECT_EQ(d.item(D::IDC_GAUGE).itemText(1), "4.5 mm");
    for (int on : {0, 1}) {
        d.item(D::IDC_ALL).click();
        EXPECT_EQ(d.m_allTargets, on);
        for (int id : {D::IDC_RELAY_FROM_SPIN, D::IDC_RELAY_TO_SPIN, D::IDC_LANE_FROM_SPIN, D::IDC_LANE_TO_SPIN})
            EXPECT_EQ(d.item(id).enabled(), on == 0) << id;
        for (int id : {D::IDC_RELAY_FROM, D::IDC_RELAY_TO, D::IDC_LANE_FROM, D::IDC_LANE_TO})
            EXPECT_EQ(ReadOnly(d.item(id)), on == 1) << id;
    }
}

TEST(SendPresets, ByResultsProgram)
{
    struct Case {
        int program;
        int active;
        bool hidden;
    };
    const Case cases[] = {{0, 1, false}, {1, 1, false}, {2, 1, false}, {3, 0, true}, {4, 0, true},
                          {5, 0, true},  {6, 1, false}, {7, 0, true},  {8, 0, false}};
    for (const Case& c : cases) {
        SendPresets p = SendPresetsFor(c.program, 12);
        EXPECT_EQ(p.activeRelay, c.active) << c.program;
        EXPECT_EQ(p.hideActive, c.hidden) << c.program;
        EXPECT_EQ(p.relayFrom, 12);
        EXPECT_EQ(p.relayTo, 12);
    }
}

TEST_F(PrintSendDialogTest, SendOffersTheActiveRelayAsTheResultsProgramTakesIt)
{
    for (int program = 0; program <= 8; ++program) {
        SCOPED_TRACE(program);
        SendPresets p = SendPresetsFor(program, 5);
        CDlgSend d(nullptr, CompOptions());
        d.m_relayFrom = p.relayFrom;
        d.m_relayTo = p.relayTo;
        d.m_activeRelay = p.activeRelay;
        d.m_hideActive = p.hideActive;
        ASSERT_TRUE(d.Create());
        EXPECT_EQ(d.item(S::IDC_ACTIVE).visible(), !p.hideActive);
        EXPECT_EQ(d.item(S::IDC_ACTIVE).check(), p.activeRelay);
        // A relay is chosen exactly when the active one is not taken.
        EXPECT_EQ(d.item(S::IDC_RELAY_FROM_SPIN).enabled(), p.activeRelay == 0);
        EXPECT_EQ(ReadOnly(d.item(S::IDC_RELAY_FROM)), p.activeRelay != 0);
        d.item(S::IDC_OK).click();
        EXPECT_EQ(d.Result(), IDOK);
        EXPECT_EQ(d.m_activeRelay, p.activeRelay);
        EXPECT_EQ(d.m_relayFrom, 5);
    }
}

TEST_F(PrintSendDialogTest, SendByRelayOrByStartNumbers)
{
    struct Case {
        const char* name;
        bool startNumbers;
        int active;
        const char* from;
        const char* to;  // typed when shown
        int button;
        int result;
        int relayFrom, relayTo, activeOut;
        bool refused;
    };
    const Case cases[] = {
        {"one relay, whatever was preset", false, 0, "5", nullptr, S::IDC_OK, IDOK, 5, 5, 0, false},
        {"the active relay", false, 1, "5", nullptr, S::IDC_OK, IDOK, 5, 5, 1, false},
        {"a range of start numbers", true, 0, "101", "120", S::IDC_OK, IDOK, 101, 120, 0, false},
        {"one start number", true, 0, "120", "120", S::IDC_OK, IDOK, 120, 120, 0, false},
        {"a range upside down", true, 0, "120", "101", S::IDC_OK, IDCANCEL, 120, 101, 0, true},
        {"upside down, but the active relay goes", true, 1, "120", "101", S::IDC_OK, IDOK, 120, 101, 1, false},
        {"cancelled", true, 0, "120", "101", S::IDC_CANCEL, IDCANCEL, 3, 4, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        CDlgSend d(nullptr, StartNumbers(c.startNumbers));
        d.m_relayFrom = 3;
        d.m_relayTo = 4;
        ASSERT_TRUE(d.Create());
        d.ShowWindow(true);
        EXPECT_EQ(d.item(S::IDC_RELAY_LABEL).text(), c.startNumbers ? "Start no. from" : "Relay");
        for (int id : {S::IDC_RELAY_TO, S::IDC_RELAY_TO_SPIN, S::IDC_RELAY_TO_LABEL})
            EXPECT_EQ(d.item(id).visible(), c.startNumbers) << id;
        d.item(S::IDC_RELAY_FROM).setText(c.from);
        if (c.to)
            d.item(S::IDC_RELAY_TO).setText(c.to);
        if (c.active)
            d.item(S::IDC_ACTIVE).click();
        d.item(c.button).click();
        EXPECT_EQ(d.Result(), c.result);
        if (c.button == S::IDC_OK) {
            EXPECT_EQ(d.m_relayFrom, c.relayFrom);
            EXPECT_EQ(d.m_relayTo, c.relayTo);
            EXPECT_EQ(d.m_activeRelay, c.activeOut);
        }
        // A range that holds nothing is said so, and the dialog stays for a better one.
        if (c.refused) {
            ASSERT_EQ(prompter.Questions().size(), 1u);
            EXPECT_EQ(prompter.Questions()[0].text, "The first start number is above the last");
            EXPECT_TRUE(d.isVisible());
            d.item(S::IDC_RELAY_TO).setText("130");
            d.item(S::IDC_OK).click();
            EXPECT_EQ(d.Result(), IDOK);
            EXPECT_EQ(d.m_relayTo, 130);
        } else {
            EXPECT_TRUE(prompter.Questions().empty());
        }
    }
}

TEST_F(PrintSendDialogTest, HelpAsksForTheDialogsTopicAndTheControls)
{
    CDlgPrint print(nullptr, CompOptions());
    Preset(print);
    ASSERT_TRUE(print.Create());
    PressHelp(&print, print.item(D::IDC_MARGIN).widget());
    CDlgSend send(nullptr, CompOptions());
    ASSERT_TRUE(send.Create());
    PressHelp(&send, send.item(S::IDC_RELAY_FROM).widget());
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{145, 2}, {D::IDC_MARGIN, 3}, {146, 2}, {S::IDC_RELAY_FROM, 3}}));
}

TEST_F(PrintSendDialogTest, Screenshots)
{
    for (int asList : {0, 1}) {
        CDlgPrint d(nullptr, CompOptions());
        Preset(d);
        d.m_caption = texts.GetText("IDS_LANESEL_TITLE_PRINT");
        d.m_asList = asList;
        ASSERT_TRUE(d.Create());
        SaveScreen(d, asList ? "print-list.png" : "print-cards.png");
    }
    CDlgSend d(nullptr, StartNumbers(true));
    d.m_relayFrom = 101;
    d.m_relayTo = 120;
    ASSERT_TRUE(d.Create());
    SaveScreen(d, "send.png");
}

}  // namespace
