#pragma once
// A final's marking: one lane's card at a time, its shots of the series
// revealed one by one on every monitor with the running sums, each marked as
// shown on the card, and the lane and shot being shown published as the
// competition's lane-0 active record for the displays. The dialog drives
// it; nothing here needs a window.
#include "foundation/comp/DataComp.h"

#include <string>
#include <vector>

struct RangeObjects;
class RangeControl;

class FinalMarking {
public:
    static constexpr int kMaxOrder = 100;  // shots of a series the marking can reveal
    static constexpr int kMaxTempo = 9;

    FinalMarking(RangeObjects& objects, RangeControl& range);

    // The range's lanes and the series, as the frame opens the marking.
    void Begin(int firstLane, int lastLane, int currentLane, int series);
    // Loads a lane's card (lane mode: the relay given, or the lane's own when
    // -1; start-number mode: lane holds the start number) and tells the
    // monitors; the shots shown start over at none.
    void LoadLane(int lane, int relay = -1);
    // Another lane (or relay): the tempo stops and no shot of it is shown
    // yet; what the last lane revealed stays marked on its card.
    void ChangeLane(int lane, int relay = -1);
    // Reveals the shots up to n (0..maximum): the shots after n are unmarked,
    // those not yet on the monitors sent.
    void ShowUpTo(int n);
    // Every shot of the series unmarked, none shown.
    void UnmarkAll();
    // The end: the monitors told, the lane-0 record cleared.
    void End();

    // The tempo: Start shows the next shot at once and arms the countdown;
    // each second's Tick is true while the timer is to go on.
    bool StartTempo();
    bool Tick();
    void StopTempo() { m_countdown = 0; }

    bool StartNumbers() const { return m_startNumbers; }
    int Lane() const { return m_lane; }
    int Relay() const { return m_relay; }
    int Series() const { return m_series; }
    int ShotIndex() const { return m_index; }
    int MaxShot() const { return m_maxShot; }
    void SetMaxShot(int n);
    int Tempo() const { return m_tempo; }
    void SetTempo(int seconds);
    int Zoom() const { return m_zoom; }
    int FirstLane() const { return m_firstLane; }
    int LastLane() const { return m_lastLane; }
    int ShotsInOrder() const { return static_cast<int>(m_order.size()); }

    // The texts the dialog shows.
    std::string Name() const;
    std::string ShotValueText() const { return m_valueText; }
    int StartValue() const { return m_startValue; }
    int MarkedSum() const { return m_markedSum; }
    // Hundredths as "12.3".
    static std::string SumText(int hundredths);

private:
    // The slot of the i-th shot (1-based) of the order; -1 none.
    int SlotOf(int i) const;
    void ShowShot(int i);
    void SetShown(const std::vector<int>& slots, bool shown);
    void SendLoaded();
    void SendName();
    void WriteLaneSeries();
    void WriteRecord();
    int ValueOf(const ShotRecord& shot) const;
    void Send(const struct LineMessage& m);

    RangeObjects& m_obj;
    RangeControl& m_range;
    bool m_startNumbers = false;
    int m_firstLane = 0, m_lastLane = 0;
    int m_lane = 0, m_relay = 0;
    int m_series = 0;
    int m_index = 0;
    int m_sent = 0;
    int m_maxShot = 0;
    int m_tempo = 3;
    int m_countdown = 0;
    int m_zoom = 3;
    int m_startValue = 0;
    int m_markedSum = 0;
    int m_cardRecord = 0;
    std::string m_valueText;
    CardRecord m_card{};
    NameRecord m_name{};
    ShotListRecord m_shots{};
    std::vector<int> m_order;  // slot indexes of the series' shots, in display order
};
