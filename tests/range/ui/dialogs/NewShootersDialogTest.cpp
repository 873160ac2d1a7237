// The new shooters dialog on the range control's frame: what it proposes for
// each way the new-shooter commands open it, by relays and by start numbers;
// the entries the caller reads after OK; the all-lanes box, the relay edit
// with its wrapping arrows, the grid and its height; Auto, the duplicate
// check and the red entries of lanes that change.
#include "tests/range/dialogs/DialogRange.h"

#include "platform/ui/ControlWidgets.h"
#include "range/ui/dialogs/DlgRelay.h"

#include <QImage>
#include <QLineEdit>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

namespace {

using R = CDlgRelay;
using platform::IDCANCEL;
using platform::IDOK;
using Entries = std::vector<int>;

// The current relays of lanes 1 to 6 by relays; lane 7 (not taking part)
// has relay 0.
const Entries kRelays = {2, 2, 3, 2, 2, 2};
// The current start numbers of lanes 1 to 6.
const Entries kStartNumbers = {11, 12, 13, 14, 15, 16};

CompOptions Options(bool startNumbers, bool relayChangeAllLanes = true)
{
    CompOptions o;
    o.Set(CompOptions::StartNumbers, startNumbers);
    o.Set(CompOptions::RelayChangeAllLanes, relayChangeAllLanes);
    return o;
}

class NewShootersDialogTest : public bvtest::DialogRangeTest {
protected:
    void SetCurrent(const Entries& relays, int lane7 = 0)
    {
        for (int lane = 1; lane <= 6; ++lane)
            Lane(lane).active.relay = static_cast<int16_t>(relays[static_cast<size_t>(lane - 1)]);
        Lane(kNotEnabled).active.relay = static_cast<int16_t>(lane7);
    }
    // Lane 100 joins the lanes that take part, with its own current relay.
    void AddLane100(int relay)
    {
        Lane(100).channelType = 1;
        Lane(100).enabled = 1;
        Lane(100).active.relay = static_cast<int16_t>(relay);
    }
    std::unique_ptr<CDlgRelay> Open(const RelayFlags& flags = {})
    {
        auto d = std::make_unique<CDlgRelay>(Frame().Objects(), Frame().Window());
        d->m_flags = flags;
        EXPECT_TRUE(d->Create());
        Activate(d.get());
        dlg = d.get();
        return d;
    }
    CGridList& Grid() { return dlg->Grid(); }
    // The entries of lanes 1 to 6, and any more lanes asked for.
    Entries LaneEntries(std::initializer_list<int> more = {})
    {
        Entries e;
        for (int lane = 1; lane <= 6; ++lane)
            e.push_back(dlg->LaneRelay(lane));
        for (int lane : more)
            e.push_back(dlg->LaneRelay(lane));
        return e;
    }
    Entries Cells()
    {
        Entries e;
        for (int row = 0; row < Grid().GetItemCount(); ++row)
            e.push_back(std::stoi(Grid().GetItemText(row, R::kColEntry)));
        return e;
    }
    bool Shown(int id) { return dlg->item(id).visible(); }
    // Whether the entry of a row is drawn in red.
    bool Red(int row)
    {
        QImage rows = Grid().viewport()->grab().toImage();
        QRect cell = Grid().CellRect(row, R::kColEntry).intersected(rows.rect());
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                QColor c = rows.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    return true;
            }
        return false;
    }

    CDlgRelay* dlg = nullptr;
};

// What each way of opening proposes and what OK then hands back untouched.
TEST_F(NewShootersDialogTest, ProposalsByFlagsAndMode)
{
    struct Case {
        const char* name;
        bool startNumbers;
        bool relayChangeAllLanes;
        RelayFlags flags;
        int allLanes;
        int relay;
        Entries shown;  // entries of lanes 1 to 6 as the dialog opens
        Entries after;  // after OK
    };
    const Entries same4 = {4, 4, 4, 4, 4, 4};
    const Entries same1 = {1, 1, 1, 1, 1, 1};
    const Case cases[] = {
        {"the relays as they are", false, true, {}, 1, 3, kRelays, {3, 3, 3, 3, 3, 3}},
        {"the next relay for all", false, true, {.nextRelay = true}, 1, 4, same4, same4},
        {"lane by lane", false, true, {.noAllLanes = true}, 0, 3, kRelays, kRelays},
        {"lane by lane, next relay", false, true, {.noAllLanes = true, .nextRelay = true}, 0, 4, kRelays, kRelays},
        {"relays change lane by lane here", false, false, {.nextRelay = true}, 0, 4, kRelays, kRelays},
        {"reset", false, true, {.reset = true}, 1, 1, same1, same1},
        {"reset lane by lane", false, true, {.reset = true, .noAllLanes = true}, 0, 1, same1, same1},
        {"start numbers", true, true, {}, 0, 16, kStartNumbers, kStartNumbers},
        {"start numbers, next", true, true, {.nextRelay = true}, 0, 17, kStartNumbers, kStartNumbers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bvtest::TempFolder caseFolder;  // each case on a range of its own
        StartRange(Options(c.startNumbers, c.relayChangeAllLanes));
        SetCurrent(c.startNumbers ? kStartNumbers : kRelays);
        auto d = Open(c.flags);
        EXPECT_EQ(d->m_allLanes, c.allLanes);
        EXPECT_EQ(d->item(R::IDC_ALL).check(), c.allLanes);
        EXPECT_EQ(d->m_relay, c.relay);
        EXPECT_EQ(d->item(R::IDC_RELAY).text(), std::to_string(c.relay));
        EXPECT_EQ(LaneEntries(), c.shown);
        EXPECT_EQ(Cells(), c.shown);
        // What shows: one relay for all, or the grid; Auto only by start numbers.
        bool all = c.allLanes != 0;
        EXPECT_EQ(Shown(R::IDC_GRID), !all);
        EXPECT_EQ(Shown(R::IDC_RELAY), all);
        EXPECT_EQ(Shown(R::IDC_SPIN), all);
        EXPECT_EQ(Shown(R::IDC_RELAY_LABEL), all);
        EXPECT_EQ(Shown(R::IDC_ALL), !c.startNumbers);
        EXPECT_EQ(Shown(R::IDC_AUTO), c.startNumbers);
        EXPECT_EQ(Grid().GetColumnHeader(R::kColEntry), c.startNumbers ? "No." : "Relay");
        EXPECT_EQ(Grid().GetColumnWidth(R::kColStartNumber), c.startNumbers ? 0 : 50);

        d->item(R::IDC_OK).click();
        EXPECT_EQ(d->Result(), IDOK);
        EXPECT_EQ(LaneEntries(), c.after);
        EXPECT_EQ(d->m_relay, c.relay);
        EXPECT_TRUE(prompter.Questions().empty());
        // The dialog goes before the window it belongs to.
        d.reset();
        app.reset();
    }
}

// The relay for all lanes is typed or stepped; each change reaches every
// lane's entry at once, also while the grid is hidden, and the arrows wrap.
TEST_F(NewShootersDialogTest, TheRelayForAllLanesSetsEveryEntry)
{
    StartRange(Options(false));
    SetCurrent(kRelays, 5);
    auto d = Open();
    // Lane 7 takes no part, but its relay counts for the proposal.
    EXPECT_EQ(d->m_relay, 5);
    ASSERT_FALSE(Shown(R::IDC_GRID));
    QWidget* edit = d->item(R::IDC_RELAY).widget();
    Activate(d.get());
    auto* line = static_cast<QLineEdit*>(edit);
    line->setFocus();
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    // An empty edit leaves the entries as they were.
    EXPECT_EQ(LaneEntries(), kRelays);
    QTest::keyClicks(line, "9999");
    EXPECT_EQ(LaneEntries(), Entries(6, 9999));
    auto* spin = static_cast<platform::SpinCtrl*>(d->item(R::IDC_SPIN).widget());
    spin->Step(1);
    EXPECT_EQ(d->item(R::IDC_RELAY).text(), "1");
    EXPECT_EQ(LaneEntries(), Entries(6, 1));
    spin->Step(-1);
    EXPECT_EQ(LaneEntries(), Entries(6, 9999));
    spin->Step(-1);
    EXPECT_EQ(LaneEntries(), Entries(6, 9998));

    // Lane by lane the grid shows what was typed, in red where a lane changes.
    d->item(R::IDC_ALL).click();
    EXPECT_TRUE(Shown(R::IDC_GRID));
    EXPECT_EQ(Cells(), Entries(6, 9998));
    TypeInto(Grid(), 2, R::kColEntry, "3");
    EXPECT_TRUE(Red(0));
    EXPECT_FALSE(Red(2));
    // Out of 1 to 9999 is refused with a beep; the entry stays.
    TypeInto(Grid(), 1, R::kColEntry, "0");
    TypeInto(Grid(), 1, R::kColEntry, "10000");
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{"Beep 0", "Beep 0"}));
    EXPECT_EQ(Cells(), (Entries{9998, 9998, 3, 9998, 9998, 9998}));
    d->item(R::IDC_OK).click();
    EXPECT_EQ(d->Result(), IDOK);
    EXPECT_EQ(d->m_allLanes, 0);
    EXPECT_EQ(LaneEntries(), (Entries{9998, 9998, 3, 9998, 9998, 9998}));

    // Cancel hands nothing on.
    auto again = Open();
    again->item(R::IDC_CANCEL).click();
    EXPECT_EQ(again->Result(), IDCANCEL);
}

// Ticking all lanes hides the grid and the dialog ends above it; clearing
// the box makes the dialog as high as its rows need.
TEST_F(NewShootersDialogTest, TheDialogIsAsHighAsItsRows)
{
    StartRange(Options(false));
    SetCurrent(kRelays);
    struct Case {
        int rows;
        std::function<void()> lanes;
    };
    const Case cases[] = {
        {1, [&] {
             for (int lane = 2; lane <= 6; ++lane)
                 Lane(lane).enabled = 0;
         }},
        {6, [&] {
             for (int lane = 2; lane <= 6; ++lane)
                 Lane(lane).enabled = 1;
         }},
        {20, [&] {
             for (int lane = 7; lane <= 20; ++lane) {
                 Lane(lane).channelType = 1;
                 Lane(lane).enabled = 1;
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        c.lanes();
        auto d = Open({.noAllLanes = true});
        ASSERT_EQ(Grid().GetItemCount(), c.rows);
        auto fits = [&] {
            int shown = Grid().viewport()->height();
            int needed = c.rows * Grid().GetRowHeight();
            EXPECT_GE(shown, needed);
            EXPECT_LT(shown, needed + Grid().GetRowHeight());
            EXPECT_EQ(Grid().GetTopIndex(), 0);
        };
        fits();
        int gridTop = Grid().geometry().top();
        d->item(R::IDC_ALL).click();
        EXPECT_FALSE(Shown(R::IDC_GRID));
        EXPECT_LT(d->height(), gridTop + Grid().GetRowHeight());
        EXPECT_GT(d->height(), d->item(R::IDC_RELAY).widget()->geometry().bottom());
        d->item(R::IDC_ALL).click();
        EXPECT_TRUE(Shown(R::IDC_GRID));
        fits();
        EXPECT_EQ(Grid().geometry().top(), gridTop);
    }
}

// Auto numbers the lanes by start numbers: from the first entry when the
// officer changed any, else on from the highest start number. Lane 100 is
// a lane like the others, in Auto and in the duplicate check.
TEST_F(NewShootersDialogTest, AutoAndDuplicatesByStartNumbers)
{
    StartRange(Options(true));
    SetCurrent(kStartNumbers);
    AddLane100(99);
    auto d = Open();
    ASSERT_EQ(Grid().GetItemCount(), 7);
    EXPECT_EQ(d->m_relay, 99);
    d->item(R::IDC_AUTO).click();
    EXPECT_EQ(LaneEntries({100}), (Entries{100, 101, 102, 103, 104, 105, 106}));
    EXPECT_EQ(Cells(), LaneEntries({100}));

    auto changed = Open();
    TypeInto(Grid(), 0, R::kColEntry, "40");
    changed->item(R::IDC_AUTO).click();
    EXPECT_EQ(LaneEntries({100}), (Entries{40, 41, 42, 43, 44, 45, 46}));

    // Two lanes with one start number: the dialog stays open until it is mended.
    auto twice = Open();
    TypeInto(Grid(), 6, R::kColEntry, "11");
    prompter.AnswerMessage(IDOK);
    twice->item(R::IDC_OK).click();
    EXPECT_TRUE(twice->isVisible());
    EXPECT_EQ(prompter.Log(),
              std::vector<std::string>{"Message Stop Ok default 0 [] Two lanes have the same start number -> 1"});
    TypeInto(Grid(), 6, R::kColEntry, "17");
    twice->item(R::IDC_OK).click();
    EXPECT_EQ(twice->Result(), IDOK);
    EXPECT_EQ(LaneEntries({100}), (Entries{11, 12, 13, 14, 15, 16, 17}));
}

TEST_F(NewShootersDialogTest, WithoutACompetitionThereAreNoRows)
{
    StartRange(Options(false));
    SetCurrent(kRelays);
    Frame().Objects().comp.Close();
    auto d = Open({.noAllLanes = true});
    EXPECT_EQ(Grid().GetItemCount(), 0);
    EXPECT_EQ(d->m_relay, 3);
    d->item(R::IDC_OK).click();
    EXPECT_EQ(d->Result(), IDOK);
    // Nothing was asked of the lanes: they start at 0.
    EXPECT_EQ(LaneEntries(), Entries(6, 0));
}

TEST_F(NewShootersDialogTest, RunsModallyAndAnswersHelp)
{
    StartRange(Options(true));
    SetCurrent(kStartNumbers);
    CDlgRelay d(Frame().Objects(), Frame().Window());
    QTimer::singleShot(0, &d, [&] {
        Activate(&d);
        d.setFocus();
        QTest::keyClick(&d, Qt::Key_F1);
        QWidget* autoButton = d.item(R::IDC_AUTO).widget();
        autoButton->setFocus();
        QTest::keyClick(autoButton, Qt::Key_F1, Qt::ShiftModifier);
        // Enter is OK.
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_EQ(d.DoModal(), IDOK);
    EXPECT_EQ(help.requests, (bvtest::HelpLog{{138, 2}, {R::IDC_AUTO, 3}}));
    dlg = &d;
    EXPECT_EQ(LaneEntries(), kStartNumbers);
}

// Start numbers with one lane changing, for the docs.
TEST_F(NewShootersDialogTest, Screenshot)
{
    StartRange(Options(true));
    SetCurrent(kStartNumbers);
    auto d = Open();
    TypeInto(Grid(), 2, R::kColEntry, "21");
    Grid().m_currentRow = 4;
    Grid().SelectRow(4, 1);
    Activate(d.get());
    EXPECT_TRUE(Red(2));
    std::filesystem::create_directories(BV_BINARY_DIR "/screens");
    ASSERT_TRUE(d->grab().toImage().save(BV_BINARY_DIR "/screens/new-shooters.png", "PNG"));
}

}  // namespace
