// bvtool res list, res export and res club: BVRes's lists made as the
// report form makes them (into an RTF, HTML, text or PDF file, or their
// model printed), the exports of the entries, and a club written into the
// club register.
#include "ResCommands.h"

#include "foundation/text/FieldText.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/system/Clock.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintJob.h"
#include "results/data/CompetitionItems.h"
#include "results/data/EventItems.h"
#include "results/data/ResStrings.h"
#include "results/lists/DataList.h"
#include "results/lists/ListPaths.h"
#include "results/registers/DataClub.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace bvtool::res {

using namespace results;

namespace {

// Questions are answered as the caller said (No unless --yes); what a box
// would say goes to standard error; the print dialog picks the PDF file.
class ToolPrompter : public platform::Prompter {
public:
    bool yes = false;
    std::string pdfPath;  // system path

    int Message(const platform::MessageRequest& request) override
    {
        std::fprintf(stderr, "%s\n", ToScreen(request.text).c_str());
        switch (request.buttons) {
        case platform::MessageButtons::YesNo:
        case platform::MessageButtons::YesNoCancel:
            return yes ? platform::IDYES : platform::IDNO;
        case platform::MessageButtons::OkCancel:
            return yes ? platform::IDOK : platform::IDCANCEL;
        default:
            return platform::IDOK;
        }
    }
    void Beep(platform::BeepKind) override {}
    bool ChooseFile(const platform::FileRequest&, std::string&) override { return false; }
    bool ChooseFolder(const platform::FolderRequest&, std::string&) override { return false; }
    bool ChooseColour(platform::ColourRequest&) override { return false; }
    bool ChoosePrinter(platform::PrinterChoice& choice) override
    {
        if (pdfPath.empty())
            return false;
        choice.pdfPath = pdfPath;
        return true;
    }
};

// "A-B" or "A": a range of whole numbers.
bool Range(const std::string& text, long high, long& first, long& last, const std::string& what, std::string& error)
{
    auto parts = SplitList(text, '-');
    if (parts.size() > 2 || !Number(parts[0], 0, high, first, what, error) ||
        !Number(parts.back(), first, high, last, what, error)) {
        if (error.empty())
            error = what + " is A-B, not '" + text + "'";
        return false;
    }
    return true;
}

// A series entry: decimal or 0x...
bool SeriesEntry(const std::string& text, int32_t& value, std::string& error)
{
    char* end = nullptr;
    const bool hex = text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0;
    long v = text.empty() ? -1 : std::strtol(text.c_str(), &end, hex ? 16 : 10);
    if (text.empty() || *end != '\0' || v < 0 || v > 0xFFFF) {
        error = "a series entry is a number (decimal or 0x..), not '" + text + "'";
        return false;
    }
    value = static_cast<int32_t>(v);
    return true;
}

// "YYYY-MM-DD HH:MM" as the clock's time.
bool ParseNow(const std::string& text, platform::LocalTime& now)
{
    int y, mo, d, h, mi;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &y, &mo, &d, &h, &mi, &tail) != 5)
        return false;
    namespace chr = std::chrono;
    chr::year_month_day ymd{chr::year{y}, chr::month{static_cast<unsigned>(mo)}, chr::day{static_cast<unsigned>(d)}};
    if (!ymd.ok() || h < 0 || h > 23 || mi < 0 || mi > 59)
        return false;
    now = {y, mo, d, h, mi, 0, 0, static_cast<int>(chr::weekday{chr::sys_days{ymd}}.c_encoding())};
    return true;
}

// A file the list object wrote, as the caller finds it.
std::string Shown(const std::string& dir, const std::string& systemPath)
{
    std::string native = platform::NativePath(systemPath);
    if (!native.empty() && native[0] == '/')
        return native;
    if (native.rfind("./", 0) == 0)
        native.erase(0, 2);
    return dir + (dir.empty() || dir.back() == '/' ? "" : "/") + native;
}

// The model's text as one field: tab, CR, LF and backslash escaped.
std::string Field(const std::string& cp1252)
{
    std::string out;
    for (char c : ToScreen(cp1252)) {
        switch (c) {
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string CellFields(const ReportRow* row)
{
    std::string out;
    if (row)
        for (const ReportCell& cell : row->cells)
            out += "\t" + Field(cell.text);
    return out;
}

void PrintModel(CDataList& list)
{
    std::printf("list\t%d\t%zu\n", list.request.kind, list.report.aListDef.size());
    for (size_t d = 1; d <= list.report.aListDef.size(); ++d) {
        const ListDef& def = list.report.aListDef[d - 1];
        const ReportRow* head = def.headerRows.empty() ? nullptr : &def.headerRows.front();
        const ReportRow* foot = def.footerRows.empty() ? nullptr : &def.footerRows.front();
        auto headCell = [&](size_t c) { return head && head->cells.size() >= c ? head->cells[c - 1].text : ""; };
        std::string codes;
        for (const ReportColumn& column : def.bodyColumns)
            codes += (codes.empty() ? "" : ",") + std::to_string(column.columnCode);
        std::printf("def\t%zu\t%s\t%s\t%zu\t%zu\t%s\n", d, Field(headCell(5)).c_str(), Field(headCell(6)).c_str(),
                    def.bodyColumns.size(), def.bodyRows.size(), codes.c_str());
        std::printf("head\t%zu%s\n", d, CellFields(head).c_str());
        std::printf("foot\t%zu%s\n", d, CellFields(foot).c_str());
        for (size_t r = 1; r <= def.bodyRows.size(); ++r)
            std::printf("row\t%zu\t%zu\t%u%s\n", d, r, def.bodyRows[r - 1].style,
                        CellFields(&def.bodyRows[r - 1]).c_str());
    }
}

// The event of --event E, else the first in use; 0 when there is none.
bool ChooseEvent(CDataList& list, const Options& o, int& event, std::string& error)
{
    CCompetition& comp = list.Competition();
    event = 0;
    if (o.Has("--event")) {
        long e;
        if (!Number(o.Get("--event"), 1, 999, e, "an event", error))
            return false;
        if (!comp.GetEvent(static_cast<int>(e))) {
            error = "no event " + o.Get("--event") + " in competition " + std::to_string(comp.competition);
            return false;
        }
        event = static_cast<int>(e);
        return true;
    }
    for (int e = 1; e <= comp.EventSlots() && event == 0; ++e)
        if (comp.GetEvent(e))
            event = e;
    return true;
}

bool TargetRange(CDataList& list, const Options& o, int event, std::string& error)
{
    CBVConfig& c = list.Competition().Comp();
    long first = event ? ::ReadItem(c, CompItems::EventFirstTarget(event)) : 0;
    long last = event ? ::ReadItem(c, CompItems::EventLastTarget(event)) : 0;
    if (o.Has("--targets") && !Range(o.Get("--targets"), 999, first, last, "--targets", error))
        return false;
    list.request.firstTarget = static_cast<uint16_t>(first);
    list.request.lastTarget = static_cast<uint16_t>(last);
    return true;
}

// Fills the request as the report form does.
bool FillRequest(CDataList& list, const Options& o, std::string& error)
{
    ListRequest& q = list.request;
    list.ResetSelection();
    long value;
    if (!Number(o.Get("--kind"), -32768, 32767, value, "a list kind", error))
        return false;
    q.kind = static_cast<int16_t>(value);
    int event = 0;
    if (!ChooseEvent(list, o, event, error) || !TargetRange(list, o, event, error))
        return false;
    q.event = static_cast<uint16_t>(event);

    long firstRelay = 1, lastRelay = 0;
    if (CDataEvent* e = list.Competition().GetEvent(event)) {
        const int relays = ::ReadItem(list.Competition().Comp(), CompItems::EventRelays(event));
        for (int r = 1; r <= relays; ++r)
            lastRelay = std::max<long>(lastRelay, ::ReadItem(e->Settings(), EventItems::RelayNumber(r)));
    }
    if (o.Has("--relays") && !Range(o.Get("--relays"), 999, firstRelay, lastRelay, "--relays", error))
        return false;
    q.firstRelay = static_cast<uint16_t>(firstRelay);
    q.lastRelay = static_cast<uint16_t>(lastRelay);

    if (o.Has("--classes")) {
        for (const std::string& c : SplitList(o.Get("--classes"))) {
            if (!Number(c, 1, 255, value, "a class", error))
                return false;
            q.classFilter.push_back(static_cast<uint8_t>(value));
        }
        q.filtersActive = 1;
    }
    if (o.Has("--letters")) {
        q.letterFilter = ToFile(o.Get("--letters")).substr(0, kLetterFilterSize);
        q.filtersActive = 1;
    }
    if (o.Has("--series"))
        for (const std::string& s : SplitList(o.Get("--series"))) {
            int32_t entry;
            if (!SeriesEntry(s, entry, error))
                return false;
            q.seriesFilter.push_back(entry);
        }
    struct NumberOption {
        const char* name;
        long low, high;
        std::function<void(long)> set;
    };
    for (const NumberOption& n : {
             NumberOption{"--variant", 0, 65535, [&](long v) { q.variant = static_cast<uint16_t>(v); }},
             NumberOption{"--team", 0, 0x7FFFFFFF, [&](long v) { q.treeSelection = static_cast<int32_t>(v); }},
             NumberOption{"--font-size", 8, 16, [&](long v) { q.fontSize = static_cast<int32_t>(v); }},
             NumberOption{"--sheet-series", 0, 999, [&](long v) { q.seriesPerSheet = static_cast<int32_t>(v); }},
         }) {
        if (!o.Has(n.name))
            continue;
        if (!Number(o.Get(n.name), n.low, n.high, value, n.name, error))
            return false;
        n.set(value);
    }
    q.commonList = o.Has("--common") ? 1 : 0;
    q.completeFinal = o.Has("--complete-final") ? 1 : 0;
    q.timeProtest = o.Has("--time-protest") ? 1 : 0;
    q.resultFields = o.Has("--result-fields") ? 1 : 0;
    q.selection = o.Has("--with-prizes") ? 1 : 0;
    list.resultListChoice.withPrizes = o.Has("--with-prizes");
    list.resultListChoice.web = o.Has("--web");
    q.splitList = o.Has("--split") ? 1 : 0;
    q.email = o.Has("--email") ? 1 : 0;
    q.aimingMark = o.Has("--aiming-mark") ? 1 : 0;
    q.file.compact = o.Has("--compact") ? 1 : 0;
    q.file.header = o.Has("--header") ? 1 : 0;
    q.file.footer = o.Has("--footer") ? 1 : 0;
    return true;
}

// The default printer of --printer and --offsets (millimetres).
bool UsePrinter(const Options& o, double& leftMm, double& topMm, bool& landscape, std::string& error)
{
    leftMm = topMm = 0;
    landscape = false;
    if (o.Has("--offsets")) {
        auto parts = SplitList(o.Get("--offsets"));
        long l, t;
        if (parts.size() != 2 || !Number(parts[0], 0, 50, l, "an offset (mm)", error) ||
            !Number(parts[1], 0, 50, t, "an offset (mm)", error)) {
            if (error.empty())
                error = "--offsets is L,T in millimetres";
            return false;
        }
        leftMm = static_cast<double>(l);
        topMm = static_cast<double>(t);
    }
    const std::string printer = o.Has("--printer") ? o.Get("--printer") : "a4";
    if (printer == "none") {
        platform::SetDefaultPrinter(std::nullopt);
        return true;
    }
    if (printer != "a4" && printer != "a4-landscape") {
        error = "--printer is none, a4 or a4-landscape";
        return false;
    }
    constexpr int kDpi = 600;
    auto px = [](double mm) { return static_cast<int>(mm * kDpi / 25.4 + 0.5); };
    platform::PrinterDescription a4 = platform::A4Printer(kDpi, px(leftMm), px(topMm));
    if (printer == "a4-landscape") {
        landscape = true;
        platform::DeviceCaps& c = a4.caps;
        std::swap(c.physicalWidth, c.physicalHeight);
        std::swap(c.horzRes, c.vertRes);
        std::swap(c.physicalOffsetX, c.physicalOffsetY);
    }
    platform::SetDefaultPrinter(a4);
    return true;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    if (text.size() < end.size())
        return false;
    for (size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i])
            return false;
    return true;
}

}  // namespace

bool OpenListCompetition(CDataList& list, const Options& o, std::string& error)
{
    long comp = 0;
    if (o.Has("--comp")) {
        if (!Number(o.Get("--comp"), 1, 999, comp, "a competition", error))
            return false;
        if (!platform::FileExists(".\\Comp" + std::to_string(comp) + "\\Comp.bvc")) {
            error = "no competition " + std::to_string(comp);
            return false;
        }
    }
    if (list.OpenCompetition(static_cast<int>(comp)) != 0 || !list.Competition().Comp().IsOpen()) {
        error = "cannot open competition " + std::to_string(list.Competition().competition);
        return false;
    }
    return true;
}

int RunList(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 2)
        return Fail("usage: bvtool res list DIR --kind N [--out FILE|-] [options] (see 'bvtool help')");
    if (!ParseOptions(args, 2,
                      {"--kind", "--out", "--comp", "--event", "--relays", "--targets", "--classes", "--letters",
                       "--series", "--variant", "--team", "--font-size", "--sheet-series", "--now", "--printer",
                       "--offsets"},
                      {"--common", "--complete-final", "--time-protest", "--result-fields", "--with-prizes", "--split",
                       "--email", "--png", "--aiming-mark", "--compact", "--header", "--footer", "--yes", "--web"},
                      o, error))
        return Fail(error);
    if (!o.Has("--kind"))
        return Fail("res list needs --kind N");
    if (!o.Has("--out") && !o.Has("--png"))
        return Fail("res list needs --out FILE|- (or --png)");

    // What the output is, from the file's name.
    const std::string out = o.Has("--out") ? o.Get("--out") : std::string();
    enum { kModel, kPdf, kRtf, kHtml, kText, kPictures } format = kPictures;
    if (out == "-")
        format = kModel;
    else if (EndsWith(out, ".pdf"))
        format = kPdf;
    else if (EndsWith(out, ".rtf"))
        format = kRtf;
    else if (EndsWith(out, ".htm") || EndsWith(out, ".html"))
        format = kHtml;
    else if (EndsWith(out, ".txt"))
        format = kText;
    else if (!out.empty())
        return Fail("--out is a .rtf, .htm, .html, .txt or .pdf file, or -");
    // Graphic cards are drawn: on paper (a PDF file) or as pictures.
    const bool graphicCards = o.Get("--kind") == std::to_string(kListGraphicCards);
    if (o.Has("--png") && (!graphicCards || o.Has("--out")))
        return Fail("--png makes the pictures of kind 9, without --out");
    if (graphicCards && format != kPdf && format != kPictures)
        return Fail("kind 9 is printed into a .pdf file (--out) or saved as pictures (--png)");
    // One file per club: RTF or HTML club files beside FILE (kind 2) or
    // instead of it (kind 1); printed, the lists come whole. Other kinds
    // take the box as the report form leaves it.
    const bool splitKind = o.Get("--kind") == std::to_string(kListParticipants) ||
                           o.Get("--kind") == std::to_string(kListSettlement);
    if (o.Has("--split") && splitKind && format != kRtf && format != kHtml && format != kPdf)
        return Fail("--split writes club files of kinds 1 and 2: --out is a .rtf or .htm file (or .pdf)");
    // Giro forms and address labels are only ever printed.
    const bool sheets = o.Get("--kind") == std::to_string(kListBankGiro) ||
                        o.Get("--kind") == std::to_string(kListAddressLabels);
    if (sheets && format != kPdf)
        return Fail("kinds 3 and 4 are printed into a .pdf file (--out)");
    // A name without a folder goes into the competition's Print folder, as
    // the report form names it; a path is taken as it stands.
    const bool typedName = format != kModel && !out.empty() && out.find('/') == std::string::npos;
    std::string outPath;
    if (!out.empty() && format != kModel && !typedName)
        outPath = std::filesystem::absolute(out).lexically_normal().string();

    static platform::ManualClock clock;
    if (o.Has("--now")) {
        if (!ParseNow(o.Get("--now"), clock.now))
            return Fail("--now is \"YYYY-MM-DD HH:MM\", not '" + o.Get("--now") + "'");
        platform::SetClock(&clock);
    }
    double leftMm, topMm;
    bool landscape;
    if (!UsePrinter(o, leftMm, topMm, landscape, error))
        return Fail(error);
    if (!EnterFolder(args[1], error))
        return Fail(error);

    static ToolPrompter prompter;
    prompter.yes = o.Has("--yes");
    platform::SetPrompter(&prompter);

    CDataList list;
    bool failed = false;
    list.SetReporter([&failed](const std::string& text, CDataList::Message kind) {
        std::fprintf(stderr, "%s\n", ToScreen(text).c_str());
        failed = failed || kind == CDataList::Message::Error;
    });
    if (!OpenListCompetition(list, o, error) || !FillRequest(list, o, error))
        return Fail(error);
    list.request.file.html = format == kHtml ? 1 : 0;
    list.request.file.textFile = format == kText ? 1 : 0;
    // The result lists (and the press list made of them) measure their
    // columns with the kit's fonts.
    if (list.request.kind == kListResultsByClass || list.request.kind == kListResultsCombined ||
        list.request.kind == kListPressList || list.request.kind == kListSettlement)
        StartQt();

    int output = kOutputFile;
    std::unique_ptr<platform::PrintJob> pdf;
    if (format == kModel) {
        output = kOutputModel;
    } else if (format == kPdf) {
        StartQt();
        if (typedName) {
            if (!IsPlainFileName(ToFile(out)))
                return Fail(ToScreen(ResString(IDS_WRITE_ERROR)));
            outPath = PrintFolder(list.Competition().competition);
            platform::CreateFolders(outPath);
            outPath += "\\" + ToFile(out);
        } else {
            outPath = ToFile(outPath);
        }
        pdf = std::make_unique<platform::PrintJob>();
        platform::PdfPage page{.dotsPerInch = 600, .landscape = landscape, .leftMm = leftMm, .topMm = topMm,
                               .rightMm = leftMm, .bottomMm = topMm};
        if (!pdf->UsePdfFile(outPath, page))
            return Fail("cannot print into " + out);
        list.printTarget = pdf->Target();
        output = kOutputPrint;
    } else if (format == kPictures) {
        StartQt();
    } else if (typedName) {
        std::string name = ToFile(out.substr(0, out.rfind('.')));
        if (!list.NameListFile(name))
            return 1;
        outPath = list.request.fileName;
    } else {
        list.request.fileName = ToFile(outPath);
        outPath = list.request.fileName;
    }

    const int made = list.MakeList(output);
    if (made == 0) {
        std::fprintf(stderr, "bvtool: %s\n", ToScreen(ResString(IDS_NO_LIST_DATA)).c_str());
        return failed ? 1 : 2;
    }
    if (format == kModel) {
        PrintModel(list);
        list.report.Reset();
    } else if (format == kPdf) {
        int pages = pdf->Target()->PagesPrinted();
        // Giro forms for nobody are a document without pages: no file.
        if (sheets && pages == 0) {
            std::printf("pages\t0\n");
            return failed ? 1 : 0;
        }
        if (!platform::FileExists(outPath))
            return Fail("nothing printed into " + out);
        std::printf("file\t%s\n", Shown(args[1], outPath).c_str());
        std::printf("pages\t%d\n", pages);
    } else if (format == kPictures) {
        for (const std::string& picture : list.picturesWritten)
            std::printf("file\t%s\n", Shown(args[1], picture).c_str());
    } else if (!failed || !list.clubFilesWritten.empty()) {
        // Split, kind 1 writes no FILE and kind 2 writes its club files only
        // after FILE; what the club files wrote follows.
        const bool split = o.Has("--split") && splitKind;  // into a list file
        if (split ? list.request.kind == kListSettlement : !failed)
            std::printf("file\t%s\n", Shown(args[1], list.request.fileName).c_str());
        for (const std::string& path : list.clubFilesWritten)
            std::printf("file\t%s\n", Shown(args[1], path).c_str());
    }
    // The competition report's settlement writes the clubs' e-mail addresses beside it.
    if (list.request.kind == kListSettlement && list.request.email && !list.request.splitList &&
        platform::FileExists(".\\email.txt"))
        std::printf("file\t%s\n", Shown(args[1], ".\\email.txt").c_str());
    return failed ? 1 : 0;
}

int RunExport(const Args& args)
{
    std::string error;
    Options o;
    if (args.size() < 3)
        return Fail("usage: bvtool res export DIR shooters|relay R|sius R [--comp N] [--event E] [--targets A-B]");
    const std::string what = args[2];
    size_t from = 3;
    long relay = 0;
    if (what == "relay" || what == "sius") {
        if (args.size() < 4 || !Number(args[3], 1, 999, relay, "a relay number", error))
            return Fail(error.empty() ? "res export " + what + " needs a relay number" : error);
        from = 4;
    } else if (what != "shooters") {
        return Fail("res export makes shooters, relay R or sius R, not '" + what + "'");
    }
    if (!ParseOptions(args, from, {"--comp", "--event", "--targets"}, {}, o, error) || !EnterFolder(args[1], error))
        return Fail(error);
    CDataList list;
    bool failed = false;
    list.SetReporter([&failed](const std::string& text, CDataList::Message kind) {
        std::fprintf(stderr, "%s\n", ToScreen(text).c_str());
        failed = failed || kind == CDataList::Message::Error;
    });
    int event = 0;
    if (!OpenListCompetition(list, o, error))
        return Fail(error);
    list.Competition().RefreshEvents();
    list.ResetSelection();
    if (!ChooseEvent(list, o, event, error) || !TargetRange(list, o, event, error))
        return Fail(error);
    list.request.event = static_cast<uint16_t>(event);
    const int rc = what == "shooters" ? list.ExportShooters()
                   : what == "relay"  ? list.ExportRelay(static_cast<int>(relay))
                                      : list.ExportSiusStartList(static_cast<int>(relay));
    if (rc != 0 || failed)
        return 1;
    std::printf("file\t%s\n", Shown(args[1], list.LastExport()).c_str());
    return 0;
}

int RunClub(const Args& args)
{
    std::string error;
    Options o;
    long org, number;
    if (args.size() < 5)
        return Fail("usage: bvtool res club DIR ORG NUMBER NAME [--address1 T] [--address2 T] [--address3 T] "
                    "[--email T] [--account T]");
    if (!Number(args[2], 1, 255, org, "ORG", error) || !Number(args[3], 1, 65535, number, "a club number", error) ||
        !ParseOptions(args, 5, {"--address1", "--address2", "--address3", "--email", "--account"}, {}, o, error) ||
        !EnterFolder(args[1], error))
        return Fail(error);
    if (platform::CreateFolders(".\\Common") != 0)
        return Fail("cannot make the folder Common in " + args[1]);
    CDataClub clubs;
    clubs.LoadClubs(static_cast<int>(org));
    ClubRecord c{};
    SetFieldText(c.name, sizeof c.name, ToFile(args[4]));
    auto text = [&](const char* name) { return o.Has(name) ? ToFile(o.Get(name)) : std::string(); };
    SetFieldText(c.address1, sizeof c.address1, text("--address1"));
    SetFieldText(c.address2, sizeof c.address2, text("--address2"));
    SetFieldText(c.address3, sizeof c.address3, text("--address3"));
    SetFieldText(c.email, sizeof c.email, text("--email"));
    SetFieldText(c.account, sizeof c.account, text("--account"));
    if (clubs.Put(&c, static_cast<int>(number), CDataClub::kClubs) != 0)
        return Fail("cannot write Common/Club.BVD");
    return 0;
}

}  // namespace bvtool::res
