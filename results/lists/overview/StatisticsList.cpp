// The statistics: per event and class, how many entered shooters have shot
// and how many have not, all events in one definition.
#include "results/lists/overview/StatisticsList.h"

#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"

#include <algorithm>

namespace results {
namespace {

constexpr int kStatisticsColumnCount = 5;
constexpr ColumnShape kStatisticsColumns[kStatisticsColumnCount] = {
    {10, kAlignLeft, 20}, {10, kAlignRight, 20}, {10, kAlignRight, 20}, {10, kAlignRight, 20}, {10, kAlignLeft, 20},
};

}  // namespace

void StatisticsList::SetupPage(int d)
{
    m_list.ReadMargins();
    m_list.SetupHeader(d, 0);
    m_list.SetupFooter(d);
    m_list.SetupBody(kStatisticsColumnCount, d);
    OneLineOfColumns(m_report.Def(d), kStatisticsColumns, kStatisticsColumnCount);
}

void StatisticsList::Make()
{
    m_list.ClearRows();
    CBVConfig& comp = m_comp.Comp();
    const int events = EventCount(comp);
    const int classes = std::max(0, ::ReadItem(comp, CompItems::kClassCount));
    bool made = false;
    for (int i = 1; i <= events; ++i) {
        CDataEvent* event = m_comp.GetEvent(i);
        if (!event || ::ReadItem(comp, CompItems::EventExcluded(i)) != 0)
            continue;
        m_request.event = static_cast<uint16_t>(i);
        CDataRes* card = m_list.GetResultCard(i);
        card->LoadEvent(i);
        if (!made) {
            m_report.aListDef.resize(1);
            m_report.Def(1).footerRule = true;
            SetupPage(1);
            m_list.BuildPageHeader(ResString(IDS_STATISTICS), "", 1, 0);
            made = true;
        }

        std::vector<int> shot(static_cast<size_t>(classes) + 1, 0);
        std::vector<int> notShot(static_cast<size_t>(classes) + 1, 0);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(i));
        const int first = ::ReadItem(comp, CompItems::EventFirstTarget(i));
        const int last = ::ReadItem(comp, CompItems::EventLastTarget(i));
        for (int r = 1; r <= relays; ++r) {
            for (int t = first; t <= last; ++t) {
                int k = m_list.FindShooterRow(r, t);
                if (k < 0)
                    continue;
                const int classNr = m_list.shooterRows[static_cast<size_t>(k)].classNr;
                if (classNr < 1 || classNr > classes)
                    continue;
                card->LoadCard(r, t);
                (card->CountAllShots() > 0 ? shot : notShot)[static_cast<size_t>(classNr)]++;
            }
        }

        m_report.AddRow(Cells(kStatisticsColumnCount), 1);
        m_report.AddRow(Cells(kStatisticsColumnCount, {::ReadItem(comp, CompItems::EventName(i)), ResString(IDS_NOT_SHOT), ResString(IDS_SHOT),
                                ResString(IDS_TOTAL)}),
               1);
        int allShot = 0, allNotShot = 0;
        for (int c = 1; c <= classes; ++c) {
            allShot += shot[static_cast<size_t>(c)];
            allNotShot += notShot[static_cast<size_t>(c)];
            if (::ReadItem(event->Settings(), EventItems::ClassUsed(c)) == 0)
                continue;
            const int n = notShot[static_cast<size_t>(c)], s = shot[static_cast<size_t>(c)];
            m_report.AddRow(Cells(kStatisticsColumnCount, {::ReadItem(comp, CompItems::ClassName(c)), Format("%d", n), Format("%d", s),
                                    Format("%d", n + s)}),
                   1);
        }
        m_report.AddRow(Cells(kStatisticsColumnCount, {ResString(IDS_TOTAL), Format("%d", allNotShot), Format("%d", allShot),
                                Format("%d", allNotShot + allShot)}),
               1);
    }
    if (made)
        m_report.ListComplete(1);
}

}  // namespace results
