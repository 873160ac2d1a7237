#include "foundation/cards/CardLayout.h"

#include "foundation/text/FieldText.h"
#include "foundation/text/TextUtil.h"
#include "platform/system/Clock.h"
#include "platform/system/StringFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kDefaultCaptions[CardPrintSettings::kCaptions] = {
    "Sum", "Serie", "Skive", "Lag", "Startnr.", "DNF", "DNS", "DSQ", "NOE",
};
constexpr int kDefaultSeriesPerSheet = 6;
// The most shots a series shows in its table or on its list line.
constexpr int kShotsPerRow = 10;

std::string Sign(std::string_view sign) { return std::string(sign); }

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

void CardPrintSettings::SetDefaults()
{
    trueSize = 0;
    language = "UK";
    headerA.clear();
    headerB.clear();
    headerC.clear();
    headerD.clear();
    footer1.clear();
    footer2.clear();
    layout = 0;
    margin = 15;
    decimalSign = ".";
    seriesPerSheet = kDefaultSeriesPerSheet;
    greyBlack = 1;
    documentName.clear();
    titlePrefix.clear();
    zoomLevels.fill(0);
    for (int level = 1; level <= 9; ++level)
        zoomLevels[level] = 1;
    showDialog = 1;
    for (int i = 0; i < kCaptions; ++i)
        captions[i] = kDefaultCaptions[i];
    startNumberMode = 0;
}

void CardPrintSettings::SetRangeTitles(std::string_view owner, std::string_view competition, std::string_view date,
                                       std::string_view rangeName, std::string_view sponsor)
{
    headerD = owner;
    headerB = competition;
    headerC = date;
    headerA = rangeName;
    footer1 = sponsor;
    footer2.clear();
}

void CardPrintSettings::SetResultsTitles(std::string_view organiser, std::string_view competition,
                                         std::string_view title2, std::string_view eventName,
                                         std::string_view sponsor1, std::string_view sponsor2)
{
    headerD = organiser;
    headerB = competition;
    headerC = title2;
    headerA = eventName;
    footer1 = sponsor1;
    footer2 = sponsor2;
}

void CardPrintSettings::SetApplicationName(std::string_view name)
{
    titlePrefix = std::string(name) + " - ";
}

void CardPrintSettings::SetZoomOption(std::string_view flags)
{
    for (size_t level = 0; level <= 10; ++level)
        zoomLevels[level] = level < flags.size() && flags[level] != '0' ? 1 : 0;
}

namespace CardLayout {

const char* const kWebAddress = "www.brevandi.no";

Page PageOf(int width, int height, int u, int margin)
{
    Page page;
    page.u = u;
    page.offsetX = margin >= 5 ? (margin - 4) * u : 0;
    page.offsetY = 4 * u;
    page.w = width - u - page.offsetX;
    page.h = height - u - page.offsetY;
    return page;
}

std::vector<int> SeriesInUse(const PrintCard& card)
{
    std::vector<int> series;
    for (int s = PrintCard::kFirstSeries; s <= PrintCard::kLastSeries; ++s)
        if (card.shotCount[s] != 0)
            series.push_back(s);
    return series;
}

Sheets CountSheets(const PrintCard& card, int seriesPerSheet)
{
    Sheets sheets;
    int n = static_cast<int>(SeriesInUse(card).size());
    if (n == 0)
        return sheets;
    int most = seriesPerSheet >= 1 ? seriesPerSheet : kDefaultSeriesPerSheet;
    int per = n;
    if (n > most)
        per = CeilDiv(n, CeilDiv(n, most));
    // Balanced sheets fill their grid: two, three or four columns of equal rows.
    if (per > 3) {
        if (per <= 12)
            per = (per + 1) / 2 * 2;
        else if (per <= 24)
            per = (per + 1) / 3 * 3;
        else
            per = (per + 1) / 4 * 4;
    }
    sheets.perSheet = per;
    sheets.count = CeilDiv(n, per);
    return sheets;
}

Grid GridOf(int boxes)
{
    Grid grid;
    grid.columns = boxes <= 3 ? 1 : boxes <= 12 ? 2 : boxes <= 24 ? 3 : 4;
    grid.rows = std::max(1, CeilDiv(std::max(boxes, 0), grid.columns));
    return grid;
}

Rect BoxRect(const Rect& area, const Grid& grid, int k)
{
    int columns = std::max(1, grid.columns), rows = std::max(1, grid.rows);
    int col = (k - 1) % columns, row = (k - 1) / columns;
    Rect box;
    box.left = area.left + col * area.Width() / columns;
    box.right = area.left + (col + 1) * area.Width() / columns;
    box.top = area.top + row * area.Height() / rows;
    box.bottom = area.top + (row + 1) * area.Height() / rows;
    return box;
}

std::string Title(const CardPrintSettings& settings, const PrintCard& card, const CTargetTypes& types)
{
    std::string title = settings.titlePrefix + types.GetName(card.targetType);
    if (card.scaleNumerator > 0 && card.scaleDenominator > 0 && card.scaleNumerator != card.scaleDenominator)
        title += platform::StringFormat("   [%d:%d]", card.scaleNumerator, card.scaleDenominator);
    return title;
}

std::string PrintTime(const platform::LocalTime& time)
{
    return platform::StringFormat("%02d:%02d - %02d.%02d.%04d", time.hour, time.minute, time.day, time.month, time.year);
}

std::vector<std::string> CommentLines(const PrintCard& card) { return CommentLines(card.Comment()); }

std::vector<std::string> CommentLines(std::string text)
{
    static constexpr std::string_view kEnds = " \r\n";
    constexpr uint16_t kLongest = 250;
    std::vector<std::string> lines;
    CTextUtil::Trim(text, kEnds, kLongest);
    while (!text.empty()) {
        std::string line, rest;
        CTextUtil::SplitAt(text, line, rest, "\r\n", kLongest);
        CTextUtil::Trim(line, kEnds, kLongest);
        lines.push_back(line);
        if (rest.size() >= text.size())
            break;
        text = rest;
    }
    return lines;
}

std::string ResultText(const CardPrintSettings& settings, int state)
{
    if (state < 1 || state > 4)
        return {};
    return settings.captions[CardPrintSettings::kState1 + state - 1];
}

ValueParts ValueText(int value, int valueSystem, int top, std::string_view sign)
{
    int v = value;
    int tenths = (v / 10) % 10;
    bool twoDecimals = valueSystem == 6;
    std::string fraction =
        twoDecimals ? platform::StringFormat("%s%02d", Sign(sign).c_str(), v % 100) : platform::StringFormat("%s%d", Sign(sign).c_str(), tenths);
    if (v < 1100)
        return {platform::StringFormat("%d", v / 100), fraction};
    if (v < 1200) {
        if (valueSystem == 3)
            return {"11", platform::StringFormat("%s%d", Sign(sign).c_str(), tenths)};
        return {platform::StringFormat("%d", top), fraction + "*"};
    }
    if (valueSystem == 3)
        return {"0", platform::StringFormat("%s%d", Sign(sign).c_str(), tenths)};
    return {"0", fraction + "*"};
}

std::string SumText(int value, int decimals, std::string_view sign)
{
    if (decimals == 1)
        return platform::StringFormat("%d%s%d", value / 100, Sign(sign).c_str(), (value / 10) % 10);
    if (decimals == 2)
        return platform::StringFormat("%d%s%02d", value / 100, Sign(sign).c_str(), value % 100);
    return platform::StringFormat("%d", value / 100);
}

std::string ListSumText(int value, int valueSystem, std::string_view sign)
{
    return SumText(value, valueSystem == 6 ? 2 : 1, sign);
}

std::string ShotLabel(bool showTime, int time, int number, std::string_view sign)
{
    if (!showTime || time < -99 || time > 999999)
        return platform::StringFormat("%d:", number);
    std::string s = Sign(sign);
    if (time < 0)
        return platform::StringFormat("-%d%s%02ds:", -time / 100, s.c_str(), -time % 100);
    if (time < 10000)
        return platform::StringFormat("%d%s%02ds:", time / 100, s.c_str(), time % 100);
    if (time < 100000)
        return platform::StringFormat("%d%s%ds:", time / 100, s.c_str(), (time / 10) % 10);
    return platform::StringFormat("%ds:", time / 100);
}

Head CardHead(const CardPrintSettings& settings, const PrintCard& card, const Page& page)
{
    const int u = page.u, w = page.w, h = page.h;
    Head head;
    head.frame = {0, 0, w, h - 4 * u};
    head.titleBaseline = h;
    head.gridArea = {0, 24 * u, w, h - 4 * u};

    bool one = !settings.footer1.empty(), two = !settings.footer2.empty();
    if (one && two) {
        head.boxes.push_back({{0, h - 10 * u, w / 2, h - 4 * u}, {}, settings.footer1, 2});
        head.boxes.push_back({{w / 2, h - 10 * u, w, h - 4 * u}, {}, settings.footer2, 2});
    } else if (one || two) {
        head.boxes.push_back({{0, h - 10 * u, w, h - 4 * u}, {}, one ? settings.footer1 : settings.footer2, 2});
    }
    if (one || two)
        head.gridArea.bottom = h - 10 * u;

    const auto& captions = settings.captions;
    if (settings.startNumberMode) {
        head.boxes.push_back(
            {{0, 0, 40 * u, 12 * u}, captions[CardPrintSettings::kStartNumber], platform::StringFormat("%d", card.relay), 3});
    } else {
        head.boxes.push_back({{0, 0, 20 * u, 12 * u}, captions[CardPrintSettings::kRelay], platform::StringFormat("%d", card.relay), 3});
        head.boxes.push_back({{20 * u, 0, 40 * u, 12 * u}, captions[CardPrintSettings::kLane], platform::StringFormat("%d", card.lane), 3});
    }
    head.boxes.push_back({{40 * u, 0, w, 12 * u}, {}, FieldText(card.name, PrintCard::kTextSize), 3});

    head.boxes.push_back({{0, 12 * u, 40 * u, 18 * u}, {}, settings.headerD, 2});
    head.boxes.push_back({{40 * u, 12 * u, w - 40 * u, 18 * u}, {}, FieldText(card.club, PrintCard::kTextSize), 2});
    head.boxes.push_back({{w - 40 * u, 12 * u, w - 20 * u, 18 * u}, {}, FieldText(card.cls, PrintCard::kTextSize), 2});
    head.boxes.push_back({{w - 20 * u, 12 * u, w, 18 * u}, {}, FieldText(card.category, PrintCard::kTextSize), 2});

    int split = 40 * u + (w - 40 * u) / 2;
    head.boxes.push_back({{0, 18 * u, 40 * u, 24 * u}, {}, settings.headerC, 2});
    head.boxes.push_back({{40 * u, 18 * u, split, 24 * u}, {}, settings.headerB, 2});
    head.boxes.push_back({{split, 18 * u, w, 24 * u}, {}, settings.headerA, 2});

    head.commentLines = CommentLines(card);
    if (!head.commentLines.empty() || card.resultState != 0) {
        head.boxes.push_back({{0, 24 * u, 40 * u, 36 * u}, {}, ResultText(settings, card.resultState), 3});
        head.boxes.push_back({{40 * u, 24 * u, w, 36 * u}, {}, {}, 2});
        head.commentX = 40 * u + u / 2;
        head.commentTop = 24 * u;
        head.gridArea.top = 36 * u;
    }
    return head;
}

ListHead ListHeader(const CardPrintSettings& settings, const Page& page)
{
    const int u = page.u, w = page.w, h = page.h;
    ListHead head;
    head.strip = {0, h - 5 * u, w, h};
    head.textBaseline = h - u / 2;
    head.titleX = w / 2;
    head.addressX = u;
    head.timeX = w - u;
    head.boxes.push_back({{0, 0, 40 * u, 6 * u}, {}, settings.headerD, 2});
    head.boxes.push_back({{40 * u, 0, w, 6 * u}, {}, settings.headerA, 2});
    head.boxes.push_back({{0, 6 * u, 40 * u, 12 * u}, {}, settings.headerC, 2});
    head.boxes.push_back({{40 * u, 6 * u, w, 12 * u}, {}, settings.headerB, 2});
    return head;
}

ListCard ListLines(const CardPrintSettings& settings, const PrintCard& card, const CTargetTypes& types, int u)
{
    ListCard list;
    list.lineHeight = 4 * u;
    auto left = [&](int row, int from, int to, std::string text) {
        list.cells.push_back({row, from, to, ListCell::kLeft, std::move(text), {}});
    };
    left(1, 0, 10 * u, platform::StringFormat("%2d:%d", card.relay, card.lane));
    left(1, 10 * u, 50 * u, FieldText(card.name, PrintCard::kTextSize));
    left(2, 10 * u, 50 * u, FieldText(card.club, PrintCard::kTextSize));
    left(3, 10 * u, 30 * u, FieldText(card.cls, PrintCard::kTextSize));
    left(3, 30 * u, 50 * u, FieldText(card.category, PrintCard::kTextSize));
    int headRows = 5;
    std::vector<std::string> comment = CommentLines(card);
    if (!comment.empty() || card.resultState != 0) {
        left(5, u, 50 * u, ResultText(settings, card.resultState));
        for (size_t i = 0; i < comment.size(); ++i)
            left(6 + static_cast<int>(i), 10 * u, 50 * u, comment[i]);
        headRows += static_cast<int>(comment.size());
    }

    int row = 0;
    for (int s : SeriesInUse(card)) {
        ++row;
        left(row, 40 * u, 60 * u, FieldText(card.seriesName[s], PrintCard::kTextSize));
        int top = types.GetMaxValue(card.SeriesTargetType(s)) / 100;
        int shown = 0;
        for (int i = 0; i < card.kShots && shown < kShotsPerRow; ++i) {
            const PrintShot& shot = card.shots[i];
            if (!card.Counts(shot, s))
                continue;
            int from = 60 * u + shown * 9 * u;
            ValueParts parts = ValueText(shot.value, card.valueSystem[s], top, settings.decimalSign);
            list.cells.push_back({row, from, from + 7 * u, ListCell::kSplit, parts.whole, parts.fraction});
            ++shown;
        }
        list.cells.push_back({row, 154 * u, 167 * u, ListCell::kRight,
                              ListSumText(card.seriesSum[s], card.valueSystem[s], settings.decimalSign), {}});
        list.cells.push_back({row, 167 * u, 180 * u, ListCell::kRight,
                              ListSumText(card.runningTotal[s], card.valueSystem[s], settings.decimalSign), {}});
    }
    list.rows = std::max(row, headRows);
    return list;
}

int CellTextX(const ListCell& cell, int u)
{
    switch (cell.align) {
    case ListCell::kRight:
        return cell.right - u / 2;
    case ListCell::kSplit:
        return cell.right - 4 * u;
    default:
        return cell.left + u / 2;
    }
}

SeriesBox SplitBox(const Rect& box, int u)
{
    SeriesBox s;
    s.box = box;
    int bw = box.Width(), bh = box.Height();
    Rect part;
    if (bw < bh) {
        s.tall = true;
        int p = std::max(0, std::min(bw, bh - 30 * u));
        part = {box.left, box.top, box.right, box.top + p};
        s.table = {box.left, box.top + p, box.right, box.bottom};
    } else {
        int p = std::max(0, std::min(bh, bw - 30 * u));
        part = {box.left, box.top, box.left + p, box.bottom};
        s.table = {box.left + p, box.top, box.right, box.bottom};
    }
    s.picture = {part.left + u, part.top + u, part.right - u, part.bottom - u};
    s.centre = {(s.picture.left + s.picture.right) / 2, (s.picture.top + s.picture.bottom) / 2};
    s.size = std::max(0, std::min(s.picture.Width(), s.picture.Height()));
    return s;
}

Rect SeriesTable::ShotCell(int i) const
{
    if (tall) {
        int col = i / 5, row = i % 5;
        return {area.left + col * columnWidth, area.top + row * rowHeight, area.left + (col + 1) * columnWidth - 2 * u,
                area.top + (row + 1) * rowHeight};
    }
    return {area.left, area.top + i * rowHeight, area.right, area.top + (i + 1) * rowHeight};
}

SeriesTable TableOf(const SeriesBox& box, int counted, int u)
{
    SeriesTable t;
    t.tall = box.tall;
    t.area = box.table;
    t.u = u;
    const Rect& a = box.table;
    if (box.tall) {
        t.rowHeight = static_cast<int>(0.2 * a.Height());
        t.columnWidth = a.Width() / 3;
        int cw = t.columnWidth;
        if (counted < 6) {
            t.thinFrames.push_back({a.left, a.top, a.right - cw, a.bottom});
        } else {
            t.thinFrames.push_back({a.left, a.top, a.left + cw, a.bottom});
            t.thinFrames.push_back({a.left + cw, a.top, a.right - cw, a.bottom});
        }
        int middle = a.top + a.Height() / 2;
        t.sum = {a.right - cw, a.top, a.right, middle};
        t.total = {a.right - cw, middle, a.right, a.bottom};
    } else {
        t.rowHeight = a.Height() / 12;
        t.columnWidth = a.Width();
        int rh = t.rowHeight;
        t.thinFrames.push_back({a.left, a.top, a.right, a.bottom - 2 * rh});
        t.sum = {a.left, a.bottom - 2 * rh, a.right, a.bottom - rh};
        t.total = {a.left, a.bottom - rh, a.right, a.bottom};
    }
    return t;
}

std::string_view TableSample(bool showTimes) { return showTimes ? "XXXX,X: XX,X* XXXX" : "XX: XX,X*  XXXX"; }

int FitPoints(const std::function<Point(int points)>& measure, int maxWidth, int maxHeight)
{
    for (int points = 24; points > 0; --points) {
        Point size = measure(points);
        if (size.x < maxWidth && size.y < maxHeight)
            return points;
    }
    return 0;
}

ShotRowPlaces ShotRow(const Rect& cell, int xHeight)
{
    ShotRowPlaces places;
    places.labelRight = cell.left + static_cast<int>(0.35 * cell.Width());
    places.valueX = cell.left + cell.Width() / 2;
    places.baseline = (cell.top + cell.bottom) / 2 + xHeight / 2;
    return places;
}

std::vector<Segment> Arrow(const Rect& cell, double x, double y, double scale, int u)
{
    std::vector<Segment> strokes;
    double limit = 1500 * scale;
    if (!(std::fabs(x) < limit && std::fabs(y) < limit) || (x == 0 && y == 0))
        return strokes;
    int rh = cell.Height();
    double d = 0.35 * std::min(static_cast<double>(rh), cell.Width() / 4.0);
    double cx = cell.right - rh / 2.0 - u / 2.0;
    double cy = (cell.top + cell.bottom) / 2.0;
    double length = std::sqrt(x * x + y * y);
    // The page runs downwards, the shot's Y upwards.
    double ex = x / length, ey = -y / length;
    auto at = [](double px, double py) { return Point{static_cast<int>(std::lround(px)), static_cast<int>(std::lround(py))}; };
    Point tip = at(cx + d * ex, cy + d * ey);
    strokes.push_back({at(cx - d * ex, cy - d * ey), tip});
    strokes.push_back({tip, at(cx + d / 2 * ey, cy - d / 2 * ex)});
    strokes.push_back({tip, at(cx - d / 2 * ey, cy + d / 2 * ex)});
    return strokes;
}

}  // namespace CardLayout
