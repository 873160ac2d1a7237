// The exchange's texts without files: the shot lists of a result file, the
// Q-NET and KME lines, and what the export writes for the range control and
// the KME system.
#include "results/exchange/LineFormats.h"
#include "results/exchange/NameLines.h"
#include "results/exchange/SeriesLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace results;

// "value:x:y:time" per shot, for comparing.
std::string Shots(const std::vector<ShotEntry>& shots)
{
    std::string out;
    for (const ShotEntry& e : shots) {
        const int x = e.x, y = e.y, t = e.time;
        out += (out.empty() ? "" : " ") + std::to_string(e.value) + ":" + std::to_string(x) + ":" +
               std::to_string(y) + ":" + std::to_string(t);
    }
    return out;
}

TEST(ResultListsTest, ShotsFromTheListsOfASeries)
{
    const struct {
        const char* ser;
        const char* x;
        const char* y;
        const char* t;
        int count;
        const char* shots;
        const char* faults;  // list, shot and token of each fault
    } cases[] = {
        {"109 95 0", "123 -1", "-21 0 7", "", 3, "109:123:-21:0 95:-1:0:0 0:0:7:0", ""},
        {"  109\t\t95  ", "", "", "", 4, "109:0:0:0 95:0:0:0 255:0:0:0 255:0:0:0", ""},
        // Given values stop at the list's end: the rest are no shot, with no
        // coordinates even when the other lists go on.
        {"100", "1 2 3", "4 5 6", "7 8 9", 3, "100:1:4:7 255:0:0:0 255:0:0:0", ""},
        {"", "", "", "", 2, "255:0:0:0 255:0:0:0", ""},
        {"300 -1 9.5 x 255", "", "", "", 5, "255:0:0:0 255:0:0:0 255:0:0:0 255:0:0:0 255:0:0:0",
         "S1=300 S2=-1 S3=9.5 S4=x"},
        {"95 96 97", "32767 32768 -32769", "-32768 a 0", "40000 12 +5", 3, "95:32767:-32768:0 96:0:0:12 97:0:0:5",
         "T1=40000 X2=32768 Y2=a X3=-32769"},
        {"1 2 3 4 5 6 7 8 9 10 11 12", "", "", "", 12, "1:0:0:0 2:0:0:0 3:0:0:0 4:0:0:0 5:0:0:0 6:0:0:0 7:0:0:0 "
                                                          "8:0:0:0 9:0:0:0 10:0:0:0",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ser);
        SeriesFromLists lists = ReadSeriesLists(2, c.count, c.ser, c.x, c.y, c.t);
        EXPECT_EQ(Shots(lists.shots), c.shots);
        std::string faults;
        for (const ListFault& f : lists.faults)
            faults += (faults.empty() ? "" : " ") + std::string(1, f.list) + std::to_string(f.shot) + "=" + f.token;
        EXPECT_EQ(faults, c.faults);
        for (size_t i = 0; i < lists.shots.size(); ++i) {
            EXPECT_EQ(lists.shots[i].series, 2);
            EXPECT_EQ(lists.shots[i].shot, i + 1);
        }
    }
    EXPECT_EQ(ReadSeriesLists(1, 3, "9 8", "", "", "").given, 2);
}

// One character per shot, series after series; with the hit layout a group
// of five per series.
TEST(QnetLineTest, ShotsOfALine)
{
    const QnetLayout ordinary{{3, 0, 2}, {0, 0, 0}, false};
    const QnetLayout hits{{3, 0, 3, 1}, {7, 7, 7, 10}, true};
    const struct {
        const QnetLayout* layout;
        const char* line;
        bool valid;
        int target;
        int seriesRead;
        const char* shots;  // series.shot=text, "" for no shot
    } cases[] = {
        {&ordinary, "03: 9X*", true, 3, 1, "1.1=9 1.2=X 1.3=*"},
        {&ordinary, "03: 9X*45", true, 3, 2, "1.1=9 1.2=X 1.3=* 3.1=4 3.2=5"},
        // A series begun inside the line has the rest as no shot; the range
        // control's '?' is no shot as well, not a miss.
        {&ordinary, "12: 9?*4", true, 12, 2, "1.1=9 1.2= 1.3=* 3.1=4 3.2="},
        {&ordinary, "12: 9", true, 12, 1, "1.1=9 1.2= 1.3="},
        {&ordinary, " 7: 1 3", true, 7, 1, "1.1=1 1.2= 1.3=3"},
        {&ordinary, "03: ", false, 0, 0, ""},
        {&ordinary, "3: 99", false, 0, 0, ""},
        {&ordinary, "x3: 99", false, 0, 0, ""},
        {&ordinary, "  : 99", false, 0, 0, ""},
        // Groups of five: hit count, inner hits, then the last series' value.
        // Series 2 has no shots: its group keeps its place and is passed over.
        {&hits, "05: 21??x-----41x7y", true, 5, 2, "1.1=2 1.3=1 3.1=4 3.3=1 4.1=x7"},
        // Every group's value is entered in turn: the last one not '?' stays.
        {&hits, "05: 2156x-----41??", true, 5, 2, "1.1=2 1.3=1 4.1=56 3.1=4 3.3=1"},
        {&hits, "05: 21??x-----41x", true, 5, 2, "1.1=2 1.3=1 3.1=4 3.3=1 4.1=x"},
        {&hits, "05: 2", true, 5, 2, "1.1=2 1.3= 3.1= 3.3="},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QnetLine line;
        ASSERT_EQ(ReadQnetLine(c.line, *c.layout, line), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(line.target, c.target);
        EXPECT_EQ(line.seriesRead, c.seriesRead);
        std::string shots;
        for (const QnetShot& s : line.shots)
            shots += (shots.empty() ? "" : " ") + std::to_string(s.series) + "." + std::to_string(s.shot) + "=" + s.text;
        EXPECT_EQ(shots, c.shots);
    }
    EXPECT_EQ(SplitQnetLines("a\r\nb\rc\n\nd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
}

TEST(KmeLinesTest, FieldsLinesAndValues)
{
    using Lines = std::vector<std::vector<std::string>>;
    const struct {
        const char* bytes;
        Lines lines;
        bool unfinished;
    } cases[] = {
        {"A;1;3;;;;;;X98;B*\r\n", {{"A", "1", "3", "", "", "", "", "", "X98", "B*"}}, false},
        {"A;1;3\r\nB;2;4;\r\n", {{"A", "1", "3"}, {"B", "2", "4", ""}}, false},
        // A lone line end drops the field it ends.
        {"A;1;3\nB;2;4;\n", {{"A", "1"}, {"B", "2", "4"}}, false},
        {"A;1;3;\r\n\r\nB;2;\r\n", {{"A", "1", "3", "", "", ""}, {"B", "2", ""}}, false},
        // A last line without its end may be half written.
        {"A;1;3;\r\nB;2;4;X9", {{"A", "1", "3", ""}}, true},
        {"", {}, false},
        // Line ends in a row end empty fields; the line they make has no ID.
        {"\r\n\n", {{"", ""}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        bool unfinished = false;
        EXPECT_EQ(SplitKmeLines(c.bytes, &unfinished), c.lines);
        EXPECT_EQ(unfinished, c.unfinished);
    }
    const std::string chars = "BbXx*0159?a ";
    const int values[] = {0, 0, 100, 100, 110, 0, 10, 50, 90, 0, 0, 0};
    for (size_t i = 0; i < chars.size(); ++i)
        EXPECT_EQ(KmeShotValue(chars[i]), values[i]) << chars[i];
    long n = 0;
    EXPECT_TRUE(KmeNumber(" 1003 ", n));
    EXPECT_EQ(n, 1003);
    EXPECT_FALSE(KmeNumber("", n));
    EXPECT_FALSE(KmeNumber("1a", n));
}

TEST(NameLinesTest, StartScoresInEachFormat)
{
    // 955 tenths: 95.5 in the name file, 95 in the KME line, 955 in the
    // name column file.
    EXPECT_EQ(StartScoreText(955), "95.5");
    EXPECT_EQ(StartScoreText(0), "0.0");
    EXPECT_EQ(StartScoreText(-5), "-0.5");
    EXPECT_EQ(StartScoreText(-123), "-12.3");
    EXPECT_EQ(KmeShooterLine("H1", 3, 7, "Kari", "Lag", "V55", 955, 12), "H1;3;7;Kari;Lag;V55;95;12\r\n");
    EXPECT_EQ(NameColumnLine(7, "V55", "Kari", "Lag", 955).substr(58), "955\r\n");
    EXPECT_EQ(KmeFreeLine("H1", 1003, 2), "H1;1003;2;;;;0;0\r\n");
}

TEST(NameLinesTest, NameColumnLineBytes)
{
    const std::string line = NameColumnLine(3, "Senior", "Kari Nordmann-Haugen Bakke", "Bygdelaget", 0);
    //                    0         1         2         3         4         5         6
    //                    0123456789012345678901234567890123456789012345678901234567890
    EXPECT_EQ(line, std::string(" 3          Sen Kari Nordmann-Haugen Bygdelaget             0\r\n"));
    EXPECT_EQ(line.substr(0, 2), " 3");
    EXPECT_EQ(line.substr(12, 3), "Sen");
    EXPECT_EQ(line.substr(16, 20), "Kari Nordmann-Haugen");
    EXPECT_EQ(line.substr(37, 20), "Bygdelaget          ");
    EXPECT_EQ(NameColumnLine(12, "", "", "", 12345).substr(58), "12345\r\n");
}

TEST(NameLinesTest, LineBreaksAndSeparatorsInValues)
{
    EXPECT_EQ(ExchangeValue("Ola\r\nNord;mann"), "Ola  Nord;mann");
    EXPECT_EQ(KmeValue("Ola\rNord;mann"), "Ola Nord,mann");
    EXPECT_EQ(KmeShooterLine("H1", 1, 2, "Ola;\rN", "A\nB;C", "V;55", 10, 5), "H1;1;2;Ola, N;A B,C;V,55;1;5\r\n");
    const std::string line = NameColumnLine(1, "V\r5", "Ola\r\nN", "L\nag", 0);
    EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 2);
    EXPECT_EQ(line.substr(12, 3), "V 5");
}

}  // namespace
