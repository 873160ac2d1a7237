#pragma once
// BVVis --render run from the tests: a display folder beside a range
// folder, the program started (in the background while shots are stored),
// its report read back, and its picture checked against the shots the test
// stored: every shot at its place in its colour, no shot colour elsewhere,
// and the sums, totals and places the test works out itself.
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "RunCommand.h"
#include "TempFolder.h"
#include "foundation/comp/DataComp.h"
#include "foundation/targets/TargetTypes.h"
#include "platform/files/FileSystem.h"
#include "tests/display/DisplayFixture.h"

namespace bvtest {

inline const std::string kBVVis = BV_BINARY_DIR "/display/BVVis";

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// BVVis with the arguments given; standard error caught apart.
inline ProgramRun RunBVVis(const std::string& args)
{
    ProgramRun r;
    r.out = RunCommand(kBVVis + " " + args + " 2>bvvis.err", &r.status);
    r.err = TempFolder::Read("bvvis.err");
    return r;
}

// BVVis running while the test goes on.
class Background {
public:
    explicit Background(const std::string& args, const std::string& name) : m_err(name + ".err")
    {
        m_pipe = ::popen((kBVVis + " " + args + " 2>" + m_err).c_str(), "r");
    }
    ~Background()
    {
        if (m_pipe)
            Finish();
    }
    ProgramRun Finish()
    {
        ProgramRun r;
        if (!m_pipe)
            return r;
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, m_pipe)) > 0)
            r.out.append(buffer, n);
        int status = ::pclose(m_pipe);
        m_pipe = nullptr;
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = TempFolder::Read(m_err);
        return r;
    }

private:
    std::FILE* m_pipe = nullptr;
    std::string m_err;
};

// The lines of --report.
struct Report {
    struct Target {
        int slot = 0, lane = 0, event = 0, relay = 0, series = 0, shots = 0, sum = 0, total = 0, previous = 0,
            place = 0;
        std::string error, name;
    };
    struct Face {
        int slot = 0;
        platform::Rect rect;
        int zoom = 0, type = 0;
    };
    std::string picture, header, error;
    std::map<int, Target> targets;  // by slot
    std::map<int, Face> faces;

    static Report Parse(const std::string& out)
    {
        Report r;
        std::istringstream lines(out);
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream in(line);
            std::string kind;
            in >> kind;
            if (kind == "picture") {
                r.picture = line;
            } else if (kind == "header") {
                r.header = line;
            } else if (kind == "error") {
                in >> r.error;
            } else if (kind == "target") {
                Target t;
                in >> t.slot >> t.lane >> t.event >> t.relay >> t.series >> t.shots >> t.sum >> t.total >>
                    t.previous >> t.place >> t.error;
                std::getline(in, t.name);
                r.targets[t.slot] = t;
            } else if (kind == "face") {
                Face f;
                in >> f.slot >> f.rect.left >> f.rect.top >> f.rect.right >> f.rect.bottom >> f.zoom >> f.type;
                r.faces[f.slot] = f;
            }
        }
        return r;
    }
};

// One shot the test stored: where (mm) and its value (hundredths).
struct KnownShot {
    int lane;
    double x, y;
    int value;
};

// A ring target's ring radii (mm) as bvtool tells them: ring -> radius.
inline std::map<int, double> RingRadii(int type)
{
    static std::map<int, std::map<int, double>> known;
    if (known.count(type))
        return known[type];
    ToolRun run = RunTool("target " + std::to_string(type));
    std::map<int, double> radii;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("ring radii (mm):", 0) != 0)
            continue;
        std::istringstream in(line.substr(16));
        std::string item;
        while (in >> item) {
            size_t eq = item.find('=');
            if (eq != std::string::npos && item.substr(eq + 1) != "-")
                radii[std::stoi(item.substr(0, eq))] = std::stod(item.substr(eq + 1));
        }
    }
    return known[type] = radii;
}

// The places the test works out: highest total first, equal totals alike.
inline std::map<int, int> Places(const std::map<int, int>& totals)
{
    std::map<int, int> places;
    for (const auto& [lane, total] : totals) {
        int better = 0;
        for (const auto& [other, t] : totals)
            better += t > total;
        places[lane] = better + 1;
    }
    return places;
}

// Checks a render against the shots known on each lane: the report's
// values and, for faces, every shot's pixel.
inline void CheckRender(const ProgramRun& run, const std::string& png, const std::vector<KnownShot>& shots,
                        const std::vector<int>& lanes, bool faces)
{
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    int check = -1;
    std::string report = RunCommand("pngcheck '" + png + "' 2>&1", &check);
    EXPECT_EQ(check, 0) << report;
    Report r = Report::Parse(run.out);
    std::map<int, int> totals, counts;
    for (int lane : lanes)
        totals[lane] = counts[lane] = 0;
    for (const KnownShot& s : shots) {
        totals[s.lane] += CDataComp::CountedValue(s.value, 1);
        ++counts[s.lane];
    }
    std::map<int, int> places = Places(totals);
    for (int lane : lanes) {
        ASSERT_EQ(r.targets.count(lane), 1u) << run.out;
        const Report::Target& t = r.targets[lane];
        EXPECT_EQ(t.error, "-") << lane;
        EXPECT_EQ(t.shots, counts[lane]) << lane;
        EXPECT_EQ(t.sum, totals[lane]) << lane;
        EXPECT_EQ(t.total, totals[lane]) << lane;
        EXPECT_EQ(t.place, places[lane]) << lane;
    }
    if (!faces)
        return;
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    CTargetTypes types;
    struct Disc {
        int x, y, h;
    };
    std::vector<Disc> discs;
    const QRgb shotColour = qRgb(0, 255, 0), newestColour = qRgb(255, 0, 0);
    for (int lane : lanes) {
        ASSERT_EQ(r.faces.count(lane), 1u) << run.out;
        const Report::Face& f = r.faces[lane];
        std::map<int, double> radii = RingRadii(f.type);
        ASSERT_GT(radii[f.zoom], 0) << "zoom " << f.zoom;
        const int cx = (f.rect.left + f.rect.right) / 2, cy = (f.rect.top + f.rect.bottom) / 2;
        const int side = std::min(f.rect.Width(), f.rect.Height());
        const double scale = side * 0.5 / radii[f.zoom];
        const int h = std::max({static_cast<int>(std::lround(types.GetBulletRadius(f.type) * scale)), side / 75, 7});
        std::vector<const KnownShot*> mine;
        for (const KnownShot& s : shots)
            if (s.lane == lane)
                mine.push_back(&s);
        for (size_t i = 0; i < mine.size(); ++i) {
            const int px = cx + static_cast<int>(std::lround(mine[i]->x * scale));
            const int py = cy + static_cast<int>(std::lround(-mine[i]->y * scale));
            discs.push_back({px, py, h});
            // The ring lines are drawn over the shots: a shot's centre must lie off them.
            const double d = std::hypot(px - cx, py - cy);
            for (const auto& [ring, radius] : radii)
                if (ring >= f.zoom)
                    ASSERT_GT(std::abs(d - std::lround(radius * scale)), 2.0) << "lane " << lane << " shot " << i;
            const QRgb want = i + 1 == mine.size() ? newestColour : shotColour;
            EXPECT_EQ(image.pixel(px, py) & 0xFFFFFF, want & 0xFFFFFF) << "lane " << lane << " shot " << i + 1;
        }
    }
    // No shot colour where there is no shot.
    const int w = image.width(), hgt = image.height();
    std::vector<char> shot(static_cast<size_t>(w) * hgt, 0);
    for (const Disc& d : discs)
        for (int y = std::max(0, d.y - d.h - 1); y <= std::min(hgt - 1, d.y + d.h + 1); ++y)
            for (int x = std::max(0, d.x - d.h - 1); x <= std::min(w - 1, d.x + d.h + 1); ++x)
                if (std::hypot(x - d.x, y - d.y) <= d.h + 1)
                    shot[static_cast<size_t>(y) * w + x] = 1;
    QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int stray = 0;
    for (int y = 0; y < hgt; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            QRgb p = line[x] & 0xFFFFFF;
            if ((p == (shotColour & 0xFFFFFF) || p == (newestColour & 0xFFFFFF)) && !shot[static_cast<size_t>(y) * w + x])
                ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
}

// Shots spread over a ring face, lane by lane, away from its ring lines.
inline std::vector<KnownShot> SpreadShots(const std::vector<int>& lanes, int round, int perLane, int type)
{
    static const double kDistances[] = {0, 20, 50, 55, 60, 90, 95, 100, 110, 120};
    CTargetTypes types;
    std::vector<KnownShot> shots;
    for (int lane : lanes)
        for (int k = 0; k < perLane; ++k) {
            const int n = round * 3 + k;  // the lane's n-th shot
            const double d = kDistances[(lane + 3 * n) % 10];
            const double angle = (30.0 * lane + 120.0 * n + 60.0 * round) * M_PI / 180.0;
            KnownShot s{lane, std::round(d * std::cos(angle)), std::round(d * std::sin(angle)), 0};
            s.value = types.Score(s.x, s.y, type, types.GetBulletRadius(type));
            shots.push_back(s);
        }
    return shots;
}

}  // namespace bvtest
