// The address labels (list kind 4): a label for every club with a shooter
// entered in any event, for the post. The rows are kept in a list
// definition like any list's, but the labels go straight onto label sheets:
// no page frame, no preview, no file, whatever output was asked for.
#include "results/lists/forms/AddressLabels.h"

#include "foundation/text/FieldText.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/ListBuild.h"
#include "results/lists/forms/LabelSheet.h"
#include "results/lists/forms/SheetPrint.h"
#include "results/registers/DataClub.h"

#include <vector>

namespace results {
namespace {

constexpr size_t kLabelCells = 4;
constexpr int kLabelColumnPercent = 32;
constexpr int kLargerPoints = 2;

}  // namespace

void AddressLabels::SetupPage(int d)
{
    // The label sheet has its own margins; BVRes.ini's are for lists.
    m_report.m_marginLeft = 6;
    m_report.m_marginTop = 15;
    m_report.m_marginRight = 7;
    m_report.m_marginBottom = 15;
    m_list.SetupBody(static_cast<int>(kLabelCells), d);
    ListDef& def = m_report.Def(d);
    def.bodyLines.assign(kLabelCells, ReportLine());
    for (size_t k = 0; k < kLabelCells; ++k) {
        ReportColumn& column = def.bodyColumns[k];
        column.widthPercent = kLabelColumnPercent;
        column.line = static_cast<int>(k) + 1;
        column.pointSize += kLargerPoints;
        column.declaredPointSize = column.pointSize;
        def.bodyLines[k].firstColumn = static_cast<int>(k) + 1;
        def.bodyLines[k].columnCount = 1;
    }
}

void AddressLabels::Make()
{
    m_report.aListDef.resize(1);
    m_report.Def(1).footerRule = false;
    SetupPage(1);

    // Every club number a shooter of an event has, once. The register's
    // numbers go up to 65535, and so do the marks.
    std::vector<bool> marked(0x10000, false);
    CBVConfig& comp = m_comp.Comp();
    const int events = EventCount(comp);
    for (int i = 1; i <= events; ++i) {
        CDataEvent* event = m_comp.GetEvent(i);
        if (event == nullptr || ::ReadItem(comp, CompItems::EventName(i)).empty())
            continue;
        m_request.event = static_cast<uint16_t>(i);
        const int relays = ::ReadItem(comp, CompItems::EventRelays(i));
        const int first = ::ReadItem(comp, CompItems::EventFirstTarget(i));
        const int last = ::ReadItem(comp, CompItems::EventLastTarget(i));
        for (int r = 1; r <= relays; ++r) {
            if (::ReadItem(event->Settings(), EventItems::RelayNumber(r)) == 0)
                continue;
            for (int t = first; t <= last; ++t) {
                const int k = m_list.FindShooterRow(r, t);
                if (k < 0)
                    continue;
                marked[static_cast<uint16_t>(m_list.shooterRows[static_cast<size_t>(k)].club)] = true;
                m_list.shooterRows.pop_back();  // only its club is wanted
            }
        }
    }

    const bool rifle = m_comp.orgType == kOrgTypeRifle;
    for (size_t number = 0; number < marked.size(); ++number) {
        ClubRecord club{};
        if (!marked[number] || m_list.Clubs().Get(&club, static_cast<int>(number), CDataClub::kClubByKey) != 0)
            continue;
        if (m_request.email != 0 && !FieldText(club.email, sizeof club.email).empty())
            continue;  // the results go to that club by e-mail
        const std::string name = FieldText(club.name, sizeof club.name);
        m_report.AddRow(Cells(kLabelCells, {rifle ? name + " skl." : name, FieldText(club.address1, sizeof club.address1),
                                   FieldText(club.address2, sizeof club.address2),
                                   FieldText(club.address3, sizeof club.address3)}),
               1, 0);
    }
    Print(1);
}

void AddressLabels::Print(int d)
{
    const std::vector<ReportRow>& rows = m_report.Def(d).bodyRows;
    const int labels = static_cast<int>(rows.size());
    auto drawSheet = [&](CSheetPrintJob& sheet, platform::DrawSurface& dc, int page) {
        for (int n = (page - 1) * kLabelsPerSheet; n < labels && n < page * kLabelsPerSheet; ++n) {
            const LabelPlace at = LabelPlaceOf(n);
            const std::vector<ReportCell>& cells = rows[static_cast<size_t>(n)].cells;
            for (int k = 0; k < kLabelLines && static_cast<size_t>(k) < cells.size(); ++k) {
                const int bottom = at.Top() + (k + 1) * kLabelLineStep;
                sheet.WriteClipped(dc, {cells[static_cast<size_t>(k)].text, at.Left(), bottom}, at.Left(), at.Top(),
                                   at.Left() + kLabelWidth, bottom);
            }
        }
    };
    CSheetPrintJob job(ResString(IDS_LABELS_DOCUMENT), LabelSheets(labels), drawSheet);
    job.Run(m_list.printTarget);
}

}  // namespace results
