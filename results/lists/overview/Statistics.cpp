// The statistics: per event and class, how many entered shooters have shot
// and how many have not, all events in one definition.
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListBuild.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kStatisticsColumnCount = 5;
constexpr ColumnShape kStatisticsColumns[kStatisticsColumnCount] = {
    {10, kAlignLeft, 20}, {10, kAlignRight, 20}, {10, kAlignRight, 20}, {10, kAlignRight, 20}, {10, kAlignLeft, 20},
};

}  // namespace

void CDataList::SetupStatisticsPage(int d)
{
    ReadMargins();
    SetupHeader(d, 0);
    SetupFooter(d);
    SetupBody(kStatisticsColumnCount, d);
    OneLineOfColumns(Def(d), kStatisticsColumns, kStatisticsColumnCount);
}

void CDataList::MakeStatistics()
{
    ClearRows();
    CBVConfig& comp = m_comp.Comp();
    const int events = ::ReadItem(comp, CompItems::kEventCount);
    const int classes = std::max(0, ::ReadItem(comp, CompItems::kClassCount));
    bool made = false;
    for (int i = 1; i <= events; ++i) {
        CDataEvent* event = m_comp.GetEvent(i);
        if (!event || ::ReadItem(comp, CompItems::EventExcluded(i)) != 0)
            continue;
        request.event = static_cast<uint16_t>(i);
        CDataRes* card = GetResultCard(i);
        card->LoadEvent(i);
        if (!made) {
            aListDef.resize(1);
            Def(1).footerRule = true;
            SetupStatisticsPage(1);
            BuildPageHeader(ResString(IDS_STATISTICS), "", 1, 0);
            made = true;
        }

        std::vector<int> shot(static_cast<size_t>(classes) + 1, 0);
        std::vector<int> notShot(static_cast<size_t>(classes) + 1, 0);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(i));
        const int first = ::ReadItem(comp, CompItems::EventFirstTarget(i));
        const int last = ::ReadItem(comp, CompItems::EventLastTarget(i));
        for (int r = 1; r <= relays; ++r) {
            for (int t = first; t <= last; ++t) {
                int k = FindShooterRow(r, t);
                if (k < 0)
                    continue;
                const int classNr = shooterRows[static_cast<size_t>(k)].classNr;
                if (classNr < 1 || classNr > classes)
                    continue;
                card->LoadCard(r, t);
                (card->CountAllShots() > 0 ? shot : notShot)[static_cast<size_t>(classNr)]++;
            }
        }

        AddRow(Cells(kStatisticsColumnCount), 1);
        AddRow(Cells(kStatisticsColumnCount, {::ReadItem(comp, CompItems::EventName(i)), ResString(IDS_NOT_SHOT), ResString(IDS_SHOT),
                                ResString(IDS_TOTAL)}),
               1);
        int allShot = 0, allNotShot = 0;
        for (int c = 1; c <= classes; ++c) {
            allShot += shot[static_cast<size_t>(c)];
            allNotShot += notShot[static_cast<size_t>(c)];
            if (::ReadItem(event->Settings(), EventItems::ClassUsed(c)) == 0)
                continue;
            const int n = notShot[static_cast<size_t>(c)], s = shot[static_cast<size_t>(c)];
            AddRow(Cells(kStatisticsColumnCount, {::ReadItem(comp, CompItems::ClassName(c)), Format("%d", n), Format("%d", s),
                                    Format("%d", n + s)}),
                   1);
        }
        AddRow(Cells(kStatisticsColumnCount, {ResString(IDS_TOTAL), Format("%d", allNotShot), Format("%d", allShot),
                                Format("%d", allNotShot + allShot)}),
               1);
    }
    if (made)
        ListComplete(1);
}

}  // namespace results
