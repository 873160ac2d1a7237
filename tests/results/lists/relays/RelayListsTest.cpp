// The relay lists of a competition made in the test: the empty-relay
// question, the mark of a listed locked relay, the web page's links to the
// card pictures, and the graphic cards' contents, order and pictures.
#include "tests/results/lists/ListsFixture.h"
#include "QtApp.h"

#include "foundation/targets/TargetTypes.h"
#include "platform/files/FileSystem.h"
#include "platform/ui/ScriptedPrompter.h"
#include "results/data/ResStrings.h"
#include "results/lists/files/WriteListFile.h"
#include "results/lists/relays/CardPictures.h"
#include "results/lists/relays/GraphicCards.h"
#include "results/lists/relays/RelayLists.h"

#include <filesystem>
#include <memory>

namespace {

using namespace results;
using namespace liststest;

class RelayListsTest : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        bvtest::QtApp();  // the card pictures are drawn with the kit's fonts
        platform::SetPrompter(&prompter);
    }
    void TearDown() override
    {
        platform::SetPrompter(nullptr);
        ListTest::TearDown();
    }

    // Event 1 of three relays of targets 1..4; relays 1 and 3 with a shooter.
    void ThreeRelaysSecondEmpty()
    {
        AddEvent(1, "Felt", 3, 1, 1, 4, 2);
        Club(11, "Fjellby");
        Shooter(1, "Ola", 11, 1, "A");
        Shooter(2, "Kari", 11, 2, "B");
        Entry(1, 1, 2, 1);
        Entry(1, 3, 4, 2);
        Shots(1, 1, 2, 1, {100, 90, 80, 70, 60, 50, 40, 30, 20, 10});
    }

    void Relays(int first, int last)
    {
        CDataList& l = List();
        l.ResetSelection();
        l.request.event = 1;
        l.request.firstRelay = static_cast<uint16_t>(first);
        l.request.lastRelay = static_cast<uint16_t>(last);
        l.request.firstTarget = 1;
        l.request.lastTarget = 4;
    }

    // As the file has them now: the list object writes through its own settings.
    int Flags(int relay)
    {
        CBVConfig& settings = comp.GetEvent(1)->Settings();
        settings.Refresh();
        return ::ReadItem(settings, EventItems::RelayFlags(relay));
    }

    platform::ScriptedPrompter prompter;
};

TEST_F(RelayListsTest, AnEmptyRelayIsAskedForOncePerList)
{
    ThreeRelaysSecondEmpty();
    struct Case {
        const char* what;
        std::function<int(CDataList&)> make;
        int answer;  // 0: no question expected
        size_t definitions;
    };
    const Case cases[] = {
        {"roll call, No", [](CDataList& l) { return RelayLists(l).MakeRollCall(false); }, platform::IDNO, 2},
        {"roll call, Yes", [](CDataList& l) { return RelayLists(l).MakeRollCall(false); }, platform::IDYES, 3},
        {"roll call, silent", [](CDataList& l) { return RelayLists(l).MakeRollCall(true); }, 0, 3},
        {"relay list, No", [](CDataList& l) { return RelayLists(l).MakeRelayList(kListRelayList, kOutputPrint, false); },
         platform::IDNO, 2},
        {"relay list, Yes", [](CDataList& l) { return RelayLists(l).MakeRelayList(kListRelayList, kOutputPrint, false); },
         platform::IDYES, 3},
        {"relay list for the web", [](CDataList& l) { return RelayLists(l).MakeRelayList(kListRelayList, kOutputWebPage, false); },
         0, 3},
        {"text cards", [](CDataList& l) { return RelayLists(l).MakeRelayList(kListShootingCards, kOutputPrint, false); }, 0,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.Clear();
        if (c.answer)
            prompter.AnswerMessage(c.answer);
        // Relay 4 does not exist and is passed over without a word.
        Relays(1, 4);
        CDataList& l = List();
        l.report.Reset();
        EXPECT_EQ(c.make(l), static_cast<int>(c.definitions));
        EXPECT_EQ(l.report.aListDef.size(), c.definitions);
        EXPECT_EQ(l.report.m_currentDef, 1);
        ASSERT_EQ(prompter.Questions().size(), c.answer ? 1u : 0u);
        EXPECT_EQ(prompter.Unanswered(), 0);
        if (c.answer) {
            EXPECT_EQ(prompter.Questions()[0].text, ResString(IDS_EMPTY_RELAYS));
            EXPECT_EQ(prompter.Questions()[0].buttons, platform::MessageButtons::YesNo);
        }
        // The empty relay, when listed, shows its target numbers only.
        if (c.definitions == 3 && l.request.kind != kListShootingCards) {
            for (const std::string& row : RowTexts(l.Def(2)))
                EXPECT_EQ(row.find_first_not_of("|1234"), std::string::npos) << row;
            EXPECT_EQ(l.Def(2).bodyRows.size(), 4u);
        }
    }
}

TEST_F(RelayListsTest, ALockedRelayIsMarkedListedOnceAndNotByItsWebPage)
{
    ThreeRelaysSecondEmpty();
    ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::RelayFlags(3), RelayFlag::kResultsLocked | 0x10);
    std::vector<int> refreshes;
    List().frameRefresh = [&](int level) { refreshes.push_back(level); };

    Relays(3, 3);
    RelayLists(List()).MakeRelayList(kListRelayList, kOutputWebPage, false);
    EXPECT_EQ(Flags(3), RelayFlag::kResultsLocked | 0x10);
    EXPECT_TRUE(refreshes.empty());

    for (int output : {kOutputPrint, kOutputPreview}) {
        Relays(3, 3);
        RelayLists(List()).MakeRelayList(kListShootingCards, output, false);
        EXPECT_EQ(Flags(3), RelayFlag::kResultsLocked | RelayFlag::kLockedListed | 0x10);
    }
    EXPECT_EQ(refreshes, std::vector<int>{CDataList::kRefreshRelay});
    // A relay without locked results is left alone.
    EXPECT_EQ(Flags(1), 0);
}

TEST_F(RelayListsTest, TheWebRelayListLinksThePicturesTheCardsAreSavedAs)
{
    // Sixteen series of one shot: the web's cards of 14 series per sheet
    // take two sheets for a shooter who shot them all.
    AddEvent(1, "Ærø: Felt 1", 3, 1, 1, 8, 16);
    for (int k = 1; k <= 16; ++k)
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::SeriesShots(k), 1);
    ::WriteItem(comp.Web(), WebItems::kCardsOn, 1);
    Club(11, "Fjellby");
    Shooter(1, "Ola & Kari", 11, 1, "A");
    Shooter(2, "Per", 11, 1, "A");
    Entry(1, 3, 7, 1);
    Entry(1, 3, 8, 2);
    Shots(1, 3, 7, 1, {90});
    for (int k = 1; k <= 16; ++k)
        Shots(1, 3, 8, k, {100});

    CDataList& l = List();
    Relays(3, 3);
    l.request.lastTarget = 8;
    ASSERT_EQ(RelayLists(l).MakeRelayList(kListRelayList, kOutputWebPage, false), 1);
    const std::vector<ReportRow>& rows = l.Def(1).bodyRows;
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[6].cells[1].text, platform::Ansi("Ola & Kari"));
    EXPECT_EQ(rows[6].cells[1].link, platform::Ansi("./Ærø__Felt_1_3_7.png"));
    EXPECT_EQ(rows[7].cells[1].link, platform::Ansi("./Ærø__Felt_1_3_8_p1.png"));
    EXPECT_TRUE(rows[0].cells[1].link.empty());

    l.request.file.html = 1;
    const std::string page = ListFileBytes(l, false, true, false, false);
    EXPECT_NE(page.find("<a href=\"./%C3%86r%C3%B8__Felt_1_3_7.png\">Ola &amp; Kari</a>"), std::string::npos);

    // The pictures the web's cards write are the ones linked.
    l.report.Reset();
    Relays(3, 3);
    l.request.lastTarget = 8;
    l.request.seriesPerSheet = kWebSeriesPerSheet;
    ASSERT_EQ(GraphicCards(l).Print(true, true), 2);
    for (const char* name : {"Ærø__Felt_1_3_7.png", "Ærø__Felt_1_3_8_p1.png", "Ærø__Felt_1_3_8_p2.png"})
        EXPECT_TRUE(platform::FileExists(".\\PWeb\\data\\" + platform::Ansi(name))) << name;
    EXPECT_EQ(l.picturesWritten.size(), 3u);

    // Without the web's cards no link is made.
    ::WriteItem(comp.Web(), WebItems::kCardsOn, 0);
    Relays(3, 3);
    l.request.lastTarget = 8;
    RelayLists(l).MakeRelayList(kListRelayList, kOutputWebPage, false);
    EXPECT_TRUE(l.Def(1).bodyRows[6].cells[1].link.empty());
}

TEST_F(RelayListsTest, TheTextCardsBreakTheCompetitionLineInEveryFormat)
{
    ThreeRelaysSecondEmpty();
    ::WriteItem(comp.Comp(), CompItems::kName, std::string("Stevnet"));
    CDataList& l = List();
    Relays(1, 1);
    ASSERT_EQ(RelayLists(l).MakeRelayList(kListShootingCards, kOutputFile, false), 1);
    ASSERT_EQ(l.Def(1).bodyRows.size(), 1u);
    EXPECT_EQ(l.Def(1).bodyRows[0].cells[2].text.rfind(platform::Ansi("Stevnet \r\nArrangør:"), 0), 0u);
    struct Format {
        bool html, text;
        const char* broken;
    };
    for (const Format& f : {Format{false, false, "Stevnet \\par Arrang"}, Format{true, false, "Stevnet <br>Arrang"},
                            Format{false, true, "Stevnet  Arrang"}}) {
        l.request.file.html = f.html ? 1 : 0;
        const std::string bytes = ListFileBytes(l, f.text, false, false, false);
        EXPECT_NE(bytes.find(f.broken), std::string::npos) << f.broken;
        EXPECT_EQ(bytes.find("\\par\r\n"), std::string::npos);
    }
}

// ---- graphic cards ------------------------------------------------------------

class GraphicCardsTest : public RelayListsTest {
protected:
    // A card of the event with the target code and definition, the series
    // given as (series, value) shots with times.
    void CardWithTarget(int relay, int target, int code, int definition, int series)
    {
        CDataRes& card = comp.GetEvent(1)->Card();
        card.LoadEvent(1);
        std::vector<ShotEntry> shots;
        for (int s = 1; s <= series; ++s)
            for (int k = 1; k <= 5; ++k)
                shots.push_back({static_cast<uint8_t>(s), static_cast<uint8_t>(k), static_cast<uint8_t>(80 + k),
                                 static_cast<int16_t>(10 * k), static_cast<int16_t>(-5 * k), static_cast<int16_t>(k)});
        ASSERT_EQ(card.StoreShots(relay, target, shots, code, definition), 0);
    }
};

TEST_F(GraphicCardsTest, ARapidFireCardTakesItsSeriesTargetsFromTheDefinition)
{
    AddEvent(1, "Pistol", 1, 1, 1, 4, 6);
    for (int k = 1; k <= 6; ++k)
        ::WriteItem(comp.GetEvent(1)->Settings(), EventItems::SeriesShots(k), 5);
    CTargetTypes types;
    struct Case {
        int definition;
        int precision, duel;
        int radiusOf;
    };
    for (const Case& c : {Case{3, 19, 21, 19}, Case{131, 20, 22, 20}}) {
        SCOPED_TRACE(c.definition);
        CardWithTarget(1, 1, 29, c.definition, 6);
        list.reset();  // a list object of its own that reads the card as it now is
        CDataRes* card = List().GetResultCard(1);
        card->LoadEvent(1);
        ASSERT_EQ(card->LoadCard(1, 1), 0);
        auto print = std::make_unique<PrintCard>();
        ShooterRow shooter;
        shooter.name = "Ola";
        FillPrintCard(*print, *card, &shooter, 2, 1, 123, 6, types);
        EXPECT_EQ(print->targetType, 29);
        EXPECT_EQ(print->showTimes, 1);
        EXPECT_DOUBLE_EQ(print->bulletRadius, types.GetBulletRadius(c.radiusOf));
        for (int s = 1; s <= 39; ++s)
            EXPECT_EQ(print->seriesTarget[s], s <= 3 ? c.precision : c.duel) << s;
        // 12.3 of start score as 1230; each series 81..85, 415 in tenths.
        EXPECT_EQ(print->startScore, 1230);
        const int sum = 10 * card->SeriesSum(1);
        ASSERT_GT(sum, 0);
        EXPECT_EQ(print->seriesSum[1], sum);
        EXPECT_EQ(print->runningTotal[1], 1230 + sum);
        EXPECT_EQ(print->runningTotal[6], 1230 + 6 * sum);
        EXPECT_EQ(print->runningTotal[39], 1230 + 6 * sum);  // the slots beyond repeat the last
        EXPECT_EQ(print->totalSum, 6 * sum);
        EXPECT_EQ(print->totalShots, 30);
        EXPECT_EQ(print->shotCount[6], 5);
        EXPECT_EQ(print->shotCount[7], 0);
        EXPECT_EQ(print->matchSeries[39], 1);
        // Shot 1 of series 1: its value and place in millimetres, and its time.
        const int slot = card->SlotOf(1, 1);
        ASSERT_GE(slot, 0);
        const PrintShot& shot = print->shots[slot];
        EXPECT_EQ(shot.value, 810);
        EXPECT_EQ(shot.series, 1);
        EXPECT_EQ(shot.number, 1);
        EXPECT_DOUBLE_EQ(shot.x, 1.0);
        EXPECT_DOUBLE_EQ(shot.y, -0.5);
        EXPECT_EQ(shot.time, 1);
        EXPECT_EQ(print->relay, 2);
    }
}

TEST_F(GraphicCardsTest, CardsComeByRelayThenTargetAndOnlyForShootersWithAStartNumber)
{
    AddEvent(1, "Felt 1", 3, 1, 1, 10, 1);
    Relay(1, 1, 2, 1, "08:00");  // relay index 1 is relay 2, index 2 relay 1
    Relay(1, 2, 1, 1, "09:00");
    Relay(1, 3, 3, 1, "10:00");
    Club(11, "Fjellby");
    Shooter(1, "Ola", 11, 1, "A");
    Shooter(2, "Kari", 11, 2, "B");
    Shooter(3, "Per", 11, 1, "A");
    Entry(1, 1, 5, 1);
    Entry(1, 1, 3, 3);
    Entry(1, 2, 9, 2);
    Entry(1, 3, 1, 3);
    RegRecord noNumber{};
    noNumber.relay = 3;
    noNumber.target = 2;
    ASSERT_EQ(comp.GetEvent(1)->Entries().File().WriteRecKey(&noNumber), 0);
    for (auto [relay, target] : {std::pair{1, 5}, {1, 3}, {2, 9}, {3, 2}, {2, 4}})
        Shots(1, relay, target, 1, {90, 100});
    CDataList& l = List();
    Relays(1, 3);
    l.request.lastTarget = 10;
    EXPECT_EQ(GraphicCards(l).Print(true, false), 3);  // relay 3 has shots on target 2 but no start number
    const std::string folder = ".\\Comp1\\Print\\";
    EXPECT_EQ(l.picturesWritten,
              (std::vector<std::string>{folder + "Felt_1_1_9.png", folder + "Felt_1_2_3.png", folder + "Felt_1_2_5.png"}));

    // The class filter leaves Kari out.
    l.picturesWritten.clear();
    Relays(1, 3);
    l.request.lastTarget = 10;
    l.request.filtersActive = 1;
    l.request.classFilter = {1};
    EXPECT_EQ(GraphicCards(l).Print(true, false), 2);
    // Relay numbers the event does not have make no cards, and nothing is written.
    Relays(5, 9);
    EXPECT_EQ(GraphicCards(l).Print(true, false), 0);
    EXPECT_TRUE(l.picturesWritten.empty());
}

}  // namespace
