// MakeList: the one way the screens ask for a list. It runs the producer of
// the request's list kind on an empty model and sends what it made to the
// preview, the printer or a list file.
#include "results/lists/DataList.h"

#include "results/data/EventItems.h"
#include "results/registers/DataClub.h"

namespace results {
namespace {

// What MakeList does around a kind's producer.
struct KindRule {
    bool startsFresh;    // variant and definitions set to 0 before the producer
    bool printsItself;   // the producer prints for every output (giro forms, labels)
};

constexpr KindRule kKindRules[kListKindCount] = {
    /* 0 statistics     */ {false, false},
    /* 1 participants   */ {false, false},
    /* 2 settlement     */ {true, false},
    /* 3 bank giro      */ {false, true},
    /* 4 address labels */ {true, true},
    /* 5 press list     */ {true, false},
    /* 6 roll call      */ {false, false},
    /* 7 relay list     */ {false, false},
    /* 8 shooting cards */ {false, false},
    /* 9 graphic cards  */ {false, false},
    /* 10 by class      */ {false, false},
    /* 11 combined      */ {false, false},
    /* 12 auto lists    */ {false, false},
    /* 13 other lists   */ {false, false},
    /* 14 team shooting */ {false, false},
    /* 15 time schedule */ {false, false},
};

}  // namespace

CDataList::Producer CDataList::ProducerOf(int kind)
{
    switch (kind) {
    case kListStatistics:
        return &CDataList::MakeStatistics;
    case kListParticipants:
        return &CDataList::MakeEntryList;
    case kListSettlement:
        return &CDataList::MakeCompetitionReport;
    case kListRunningOrder:
        return &CDataList::MakeTimeSchedule;
    case kListResultsByClass:
        return &CDataList::MakeResultsByClass;
    case kListResultsCombined:
        return &CDataList::MakeResultsCombined;
    case kListAutoResultLists:
    case kListOtherLists:
        return &CDataList::MakeAutoResultLists;
    case kListRollCall:
        return &CDataList::MakeRollCallKind;
    case kListRelayList:
        return &CDataList::MakeRelayListKind;
    case kListShootingCards:
        return &CDataList::MakeShootingCardsKind;
    case kListTeamShooting:
        return &CDataList::MakeTeamListKind;
    case kListPressList:
        return &CDataList::MakePressList;
    case kListBankGiro:
        return &CDataList::MakeBankGiro;
    case kListAddressLabels:
        return &CDataList::MakeLabels;
    default:
        return nullptr;  // made by the lists still to come
    }
}

// A roll call of a field event with result fields is its relay list with
// the fields to fill in.
void CDataList::MakeRollCallKind()
{
    CDataEvent* event = m_comp.GetEvent(request.event);
    const int rule = event ? ::ReadItem(event->Settings(), EventItems::ResultType(request.event)) : 0;
    if (rule == 4 && request.resultFields)
        MakeRelayList(kListRelayList, m_output, true);
    else
        MakeRollCall(false);
}

void CDataList::MakeRelayListKind() { MakeRelayList(kListRelayList, m_output, false); }

void CDataList::MakeShootingCardsKind() { MakeRelayList(kListShootingCards, m_output, false); }

int CDataList::MakeList(int output)
{
    // Nothing of an earlier list may come along: a printout that was
    // cancelled, or a file that could not be written, left its model.
    ClearRows();
    Reset();
    m_currentDef = 0;
    m_defCount = 0;
    m_lastPrinted = 0;
    m_continuePrinting = 0;
    PrepareRows();

    if (request.fileName.size() > kMaxListFileName)
        request.fileName.resize(kMaxListFileName);
    m_previewFlag = output == kOutputPreview;
    m_output = output;

    const int kind = request.kind;
    if (kind < 0 || kind >= kListKindCount)
        return 0;
    // The graphic cards go to the card printer, or as pictures into the
    // competition's Print folder; the model is not used.
    if (kind == kListGraphicCards) {
        m_currentDef = PrintCards(output == kOutputFile, false) > 0 ? 1 : 0;
        return m_currentDef;
    }
    Producer produce = ProducerOf(kind);
    if (produce == nullptr)
        return 0;
    const KindRule& rule = kKindRules[kind];
    // One file per club is a file output's: a preview or printout of the
    // entry list or the report shows them whole (a model shows what the
    // file output would write).
    if ((output == kOutputPreview || output == kOutputPrint) &&
        (kind == kListParticipants || kind == kListSettlement))
        request.splitList = 0;
    if (rule.startsFresh) {
        request.variant = 0;
        m_defCount = 0;
    }
    (this->*produce)();

    if (rule.printsItself) {
        m_currentDef = 1;
        return m_currentDef;
    }
    if (m_currentDef != 1)
        return m_currentDef;
    switch (output) {
    case kOutputFile: {
        const ListFileOptions& o = request.file;
        // Split, the entry list goes into the club files instead of the one
        // file; the settlement's report is written whole, then its sheets
        // club by club.
        clubFilesWritten.clear();
        if (request.splitList && kind == kListParticipants) {
            WriteClubFiles();
        } else {
            const bool written = WriteListFile(o.textFile != 0, o.header != 0, o.footer != 0, request.fileName, 0,
                                               0, kind == kListPressList) == 0;
            if (written && request.splitList && kind == kListSettlement)
                WriteClubSettlementFiles();
        }
        request.splitList = 0;
        break;
    }
    case kOutputPreview:
    case kOutputPrint:
        if (output == kOutputPrint && printTarget != nullptr)
            PrintTo(*printTarget);
        else
            Print();
        break;
    default:
        break;  // the model stays for the caller
    }
    return m_currentDef;
}

}  // namespace results
