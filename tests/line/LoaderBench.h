#pragma once
// The software loader talking to simulated loader units without a line:
// every message the loader queues goes to the units that hear it, and their
// answers come straight back as received messages. The loader's clock is
// its Tick, so countdowns run as fast as a test likes.
#include "line/SerialFrame.h"
#include "line/loader/SoftwareLoader.h"
#include "tools/bvsim/lib/LoaderUnit.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bvtest {

// Language texts as their keys, so rows read as the keys they show.
struct KeyTexts : LoaderTexts {
    std::string GetText(const char* key) override { return key; }
};

struct ProgressLog : LoadProgress {
    int low = 0, high = 0, position = 0, highest = 0;
    void SetRange(int l, int h) override { low = l, high = h; }
    void SetPos(int p) override
    {
        position = p;
        highest = std::max(highest, p);
    }
};

class LoaderBench {
public:
    using Bytes = bvsim::Bytes;

    LoaderBench(int kind, int first, int last) : loader(texts)
    {
        loader.SetLaneRange(first, last);
        loader.SetKind(kind);
        loader.SetProgress(&progress);
        loader.SetQueuedListener([this](const LineMessage& m) {
            queued.push_back(m);
            sent.push_back(m);
        });
    }

    void AddUnits(int first, int last)
    {
        for (int lane = first; lane <= last; ++lane)
            units.emplace(lane, bvsim::LoaderUnit(lane));
    }

    static Bytes Payload(const LineMessage& m) { return Bytes(m.data + 2, m.data + 1 + m.data[0]); }

    // A message from a unit, as the line hands it over: on the slot of the
    // lane in the kind's addressing mode.
    void Deliver(int lane, const Bytes& payload)
    {
        LineMessage m{};
        m.data[0] = static_cast<uint8_t>(payload.size() + 1);
        for (size_t k = 0; k < payload.size() && k < 254; ++k)
            m.data[2 + k] = payload[k];
        int slot = SerialFrame::SlotOf(loader.Kind() == SoftwareLoader::kDisplayUnits ? 1 : 3, lane);
        m.slot = static_cast<uint8_t>(slot < 0 ? 0 : slot);
        m.targetAddress = static_cast<uint8_t>(lane);
        loader.HandleMessage(m);
    }

    // Runs the traffic until nothing moves any more. lose decides whether an
    // answer of a unit goes missing on the way.
    void Pump()
    {
        for (bool moved = true; moved;) {
            moved = false;
            while (!queued.empty()) {
                LineMessage m = queued.front();
                queued.pop_front();
                moved = true;
                Bytes p = Payload(m);
                if (onHeard)
                    onHeard(m);
                for (auto& [lane, unit] : units) {
                    if (!m.broadcast && m.targetAddress != lane)
                        continue;
                    for (const Bytes& answer : unit.Hear(p, m.broadcast != 0))
                        Answer(lane, answer);
                }
            }
            for (auto& [lane, unit] : units) {
                Bytes list;
                if (unit.TakeAcknowledgements(list)) {
                    Answer(lane, list);
                    moved = true;
                }
            }
        }
    }

    void Ticks(int count)
    {
        for (int k = 0; k < count; ++k) {
            loader.Tick();
            ++tick;
            Pump();
        }
    }

    std::vector<Bytes> SentWithCode(uint8_t code) const
    {
        std::vector<Bytes> all;
        for (const LineMessage& m : sent)
            if (m.data[3] == code)
                all.push_back(Payload(m));
        return all;
    }

    KeyTexts texts;
    ProgressLog progress;
    SoftwareLoader loader;
    std::map<int, bvsim::LoaderUnit> units;
    std::deque<LineMessage> queued;
    std::vector<LineMessage> sent;
    std::function<void(const LineMessage&)> onHeard;
    std::function<bool(int lane, const Bytes&)> lose;
    int tick = 0;

private:
    void Answer(int lane, const Bytes& answer)
    {
        if (lose && lose(lane, answer))
            return;
        Deliver(lane, answer);
    }
};

}  // namespace bvtest
