#include "results/lists/web/WorkerWebPages.h"

#include "foundation/files/BVLog.h"
#include "results/data/CompetitionItems.h"
#include "results/exchange/WebStep.h"
#include "results/lists/DataList.h"

#include <memory>

namespace results {
namespace {

class ListPageMaker : public WebPageMaker {
public:
    void BeginPass(CBVResThread& worker) override
    {
        if (!m_list) {
            // Made on the worker's thread, at its first pass as writer.
            m_list = std::make_unique<CDataList>();
            m_list->OpenCompetition(worker.CompetitionNumber());
            m_list->stopFlag = &worker.stopRequest;
            m_list->relayFlags = worker.WebFlags();
            m_list->SetReporter([](const std::string& text, CDataList::Message kind) {
                BV_LOG(ProgramLog(), kind == CDataList::Message::Error ? 80 : 10, "Web: %s", text.c_str());
            });
        }
        // The web screen may have switched things since the last pass.
        CCompetition& comp = m_list->Competition();
        comp.Web().Refresh();
        comp.awebOn = ::ReadItem(comp.Web(), WebItems::kAWebOn);
        comp.pwebOn = ::ReadItem(comp.Web(), WebItems::kPWebOn);
        comp.cardsOn = ::ReadItem(comp.Web(), WebItems::kCardsOn);
        comp.ftpOn = ::ReadItem(comp.Web(), WebItems::kFtpOn) != 0;
        comp.context[kCtxWebExchange] = worker.webTakePart.load();
    }
    void ResetSelection() override { m_list->ResetSelection(); }
    void MakeFramePages(int pageCount) override { m_list->MakeFramePages(static_cast<uint16_t>(pageCount)); }
    void MakeWebPages(int number, int aweb, int prize) override { m_list->MakeWebPages(number, aweb, prize); }
    void MakeWebIndex() override { m_list->MakeWebIndex(); }

private:
    std::unique_ptr<CDataList> m_list;
};

}  // namespace

void InstallWebStep(CBVResThread& worker)
{
    auto step = std::make_shared<CWebStep>(std::make_unique<ListPageMaker>());
    worker.webStep = [step](CBVResThread& w) { step->Run(w); };
}

}  // namespace results
