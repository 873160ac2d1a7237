#pragma once
// A competition with exchange events, a worker made the reader, and the
// files the range control and the KME system leave in the exchange folder,
// for the tests of the exchange runs.
#include "ResultsFixture.h"
#include "foundation/files/BVIniFile.h"
#include "foundation/text/FieldText.h"
#include "platform/system/Codepage.h"
#include "results/exchange/BVResThread.h"
#include "results/exchange/ExchLog.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace restest {

class ExchangeTest : public CompetitionTest {
protected:
    using Series = std::vector<std::pair<int, int>>;  // {shots, value system} per series

    // Event n in use with the exchange: relay index r numbered r, the
    // series, targets first..last.
    results::CDataEvent& ExchangeEvent(int n, int type, const std::string& prefix, const Series& series,
                                       int relays = 1, int first = 1, int last = 10)
    {
        using namespace results;
        CDataEvent& event = Event(n, relays);
        CBVConfig& c = comp.Comp();
        ::WriteItem(c, CompItems::EventSeries(n), static_cast<int>(series.size()));
        ::WriteItem(c, CompItems::EventFirstTarget(n), first);
        ::WriteItem(c, CompItems::EventLastTarget(n), last);
        for (size_t s = 0; s < series.size(); ++s) {
            ::WriteItem(event.Settings(), EventItems::SeriesShots(static_cast<int>(s) + 1), series[s].first);
            ::WriteItem(event.Settings(), EventItems::SeriesType(static_cast<int>(s) + 1), series[s].second);
        }
        for (int r = 1; r <= relays; ++r)
            ::WriteItem(event.Settings(), EventItems::RelayNumber(r), r);
        ::WriteItem(comp.Exch(), ExchItems::EventType(n), type);
        ::WriteItem(comp.Exch(), ExchItems::EventPrefix(n), prefix);
        return event;
    }

    // A result file as the range control writes it: merged into what is
    // there, and marked unread.
    static void RangeWrites(const std::string& name, const std::vector<std::vector<std::string>>& values)
    {
        CBVIniFile ini;
        for (const auto& v : values)
            ini.PutString(v[0], v[1], v[2]);
        ASSERT_EQ(ini.Write(".\\BV\\" + name), 0);
    }

    // A worker of competition 1 made the reader, with its files open.
    std::unique_ptr<results::CBVResThread> Reader()
    {
        auto worker = std::make_unique<results::CBVResThread>(1, &comp.WebFlags());
        worker->OpenFiles();
        worker->MakeReader();
        return worker;
    }

    // "EVENT READ WRITTEN" per event handled.
    static std::string Run(results::CBVResThread& worker)
    {
        std::string out;
        for (const auto& r : worker.ResProc())
            out += (out.empty() ? "" : " ") + std::to_string(r.event) + ":" + std::to_string(r.read) + ":" +
                   std::to_string(r.written);
        return out;
    }

    // Shot values of a series of the card as the screens see it now.
    std::string Values(int n, int relay, int target, int series)
    {
        results::CDataEvent& event = *comp.GetEvent(n);
        event.ResultFile().CacheVerify(1);
        event.Card().LoadEvent(n);
        event.Card().LoadCard(relay, target);
        std::string out;
        for (int m = 1; m <= event.Card().GetSeriesShots(series); ++m)
            out += (m > 1 ? " " : "") + std::to_string(event.Card().GetShotValue(series, m));
        return out;
    }

    results::ShotEntry Shot(int n, int relay, int target, int series, int shot)
    {
        Values(n, relay, target, series);
        results::ShotEntry e{};
        comp.GetEvent(n)->Card().GetShot(series, shot, e);
        return e;
    }

    // The exchange log's texts (UTF-8), emptied after reading.
    std::vector<std::string> TakeLog()
    {
        results::CExchLog log;
        log.Open(".\\Comp1\\Exch.bvd");
        std::vector<std::string> texts;
        for (int i = 1; i <= log.Count(); ++i) {
            results::ExchLogRecord r;
            if (log.Read(i, r))
                texts.push_back(platform::Cp1252ToUtf8(FieldText(r.text, sizeof r.text)));
        }
        log.Clear();
        return texts;
    }

    void PutEntry(int n, int relay, int target, int32_t startNr, int changed = 1, int startScore = 0,
                  int classNr = 0, const std::string& category = "")
    {
        results::RegRecord e{};
        e.relay = static_cast<int16_t>(relay);
        e.target = static_cast<int16_t>(target);
        e.startNr = startNr;
        e.changed = static_cast<uint8_t>(changed);
        e.startScore = startScore;
        e.classNr = static_cast<uint8_t>(classNr);
        SetFieldText(e.category, sizeof e.category, category);
        ASSERT_EQ(comp.GetEvent(n)->Entries().File().WriteRecKey(&e), 0);
    }

    results::RegRecord Entry(int n, int relay, int target)
    {
        results::RegRecord e{};
        comp.GetEvent(n)->Entries().File().CacheVerify(1);
        comp.GetEvent(n)->Entries().Read(relay, target, e);
        return e;
    }

    static std::string Read(const std::string& path) { return bvtest::TempFolder::Read(path); }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }
};

}  // namespace restest
