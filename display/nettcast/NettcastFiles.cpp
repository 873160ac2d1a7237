#include "display/nettcast/NettcastFiles.h"

#include <cstdio>
#include <cstring>

#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"
#include "platform/system/StringFormat.h"

namespace Nettcast {

namespace {

void Append24(std::string& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>((v >> 16) & 0xFF);
}

void Append16(std::string& out, int value)
{
    const auto v = static_cast<uint32_t>(value);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

// A text field of at most its size, without what follows its end.
std::string Field(const char* text, size_t size) { return std::string(text, strnlen(text, size)); }

std::string EventName(const CVisTarget& t) { return t.event ? Field(t.event->name, sizeof t.event->name) : ""; }

}  // namespace

std::string Stem(std::string_view eventName)
{
    std::string stem(eventName.substr(0, strnlen(eventName.data(), std::min<size_t>(eventName.size(), 32))));
    for (char& c : stem) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || std::strchr(" \\/-:.*&=?<>\"#%'", c) != nullptr)
            c = '_';
    }
    return stem;
}

std::string TargetFile(const std::string& stem, int lane, const char* extension)
{
    return stem + "_" + std::to_string(lane) + extension;
}

std::string LocalFolder(std::string folder)
{
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

std::string RemoteFolder(std::string folder)
{
    for (char& c : folder)
        if (c == '\\')
            c = '/';
    return LocalFolder(std::move(folder));
}

std::string TextMode(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

void LowerCountdown(CVisTarget& t)
{
    if ((t.redrawMask & 0x80) && t.exportCountdown > 100)
        t.exportCountdown = 100;
    if (((t.redrawMask & 0x10000) || t.faceRedraw || t.relayout) && t.exportCountdown > 20)
        t.exportCountdown = 20;
}

bool StepCountdown(CVisTarget& t)
{
    if (t.exportCountdown != 0) {
        --t.exportCountdown;
        if (t.exportCountdown == 0)
            t.exportNeeded = 1;
    }
    if (t.currentShotCount - t.exportShotCount >= kShotThreshold)
        t.exportNeeded = 1;
    return t.exportNeeded != 0;
}

int CountdownAfterExport(int displaySeconds) { return 10 * (displaySeconds > 0 ? displaySeconds : 30); }

std::string ShotFile(const CVisTarget& t)
{
    std::string out;
    out += static_cast<char>(0x60 | (t.active.seriesState & 0x1F));
    Append24(out, t.values[CVisTarget::kValSeriesSum].number);
    Append24(out, t.values[CVisTarget::kValTotal].number);
    out += static_cast<char>(t.zoomRing);
    // The shown shots run from the first to the current series' count.
    const int last = std::min(t.currentShotCount, 100);
    const int count = last > 0 ? last : 0;
    out += static_cast<char>(count & 0xFF);
    for (int i = 1; i <= count; ++i) {
        const int slot = t.shownShotMap[i];
        ShotRecord s{};
        if (slot >= 0 && slot < CDataComp::kSlots)
            s = t.shots.shots[slot];
        Append16(out, i);
        Append16(out, static_cast<uint16_t>(s.value));
        Append24(out, s.x);
        Append24(out, s.y);
    }
    return out;
}

std::string IndexText(const CVisPicture& pic)
{
    std::string text;
    for (const auto& tp : pic.targets) {
        const CVisTarget& t = *tp;
        if (t.lane <= 0)
            continue;
        const PanelValue* v = t.values;
        text += platform::StringFormat("%s;%d;%d;%s;%s;%s;%s;%d;%s;%d\r\n", EventName(t).c_str(), t.card.relay, t.lane,
                       Field(v[CVisTarget::kValName].text, 32).c_str(), Field(v[CVisTarget::kValClub].text, 32).c_str(),
                       Field(v[CVisTarget::kValClass].text, 32).c_str(),
                       Field(v[CVisTarget::kValCategory].text, 32).c_str(), t.startScore, "", t.card.targetType);
    }
    return TextMode(text);
}

std::string StartPage(const CVisPicture& pic)
{
    std::string page =
        "<html><head><META HTTP-EQUIV=REFRESH CONTENT=10; URL=./default.htm><meta http-equiv=Content-Type "
        "content=text/html; charset=windows-1252><title>Brevandi AS</title></head><body>\r\n<p>";
    for (const auto& tp : pic.targets) {
        const CVisTarget& t = *tp;
        if (t.lane > 0)
            page += platform::StringFormat("<img border=0 src=%s width=%d height=%d>",
                           TargetFile(Stem(EventName(t)), t.lane, ".png").c_str(), pic.exportWidth,
                           pic.exportHeight);
    }
    page += "</p>\r\n</body></html>\r\n";
    return TextMode(page);
}

std::string ProgramFile(CVisEvent& e)
{
    std::string text = "[Program]\r\n";
    for (int i = 1; i <= 27; ++i) {
        char name[64] = {};
        e.programs.GetSerieName(i, name, e.program);
        text += platform::StringFormat("%d=%s\r\n", i, name);
    }
    text += "[State]\r\n1=Welcome\r\n2=Load\r\n3=Shoot\r\n4=Mark\r\n5=Finished\r\n";
    text += "[Total]\r\n1=Serie\r\n2=Total\r\n";
    text += "[Format]\r\nPrefix=Nr\r\nValue=DFS\r\n";
    return TextMode(text);
}

bool ReplaceWhole(const std::string& path, const std::function<bool(std::FILE*)>& write)
{
    std::string folder = platform::FolderOf(path);
    const std::string temp = platform::MakeTempFile(folder.empty() ? "." : folder, "~bvn");
    if (temp.empty())
        return false;
    std::FILE* file = std::fopen(platform::NativePath(temp).c_str(), "wb");
    bool ok = file != nullptr && write(file);
    if (file != nullptr && std::fclose(file) != 0)
        ok = false;
    if (ok)
        ok = platform::ReplaceFile(temp, path) == 0;
    if (!ok)
        platform::RemoveFile(temp);
    return ok;
}

bool WriteFile(const std::string& path, std::string_view bytes)
{
    return ReplaceWhole(path, [bytes](std::FILE* file) {
        return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    });
}

bool WriteNettcastShotFile(const std::string& localFolder, const CVisTarget& t, const std::string& stem)
{
    return WriteFile(localFolder + TargetFile(stem, t.lane, ".BVD"), ShotFile(t));
}

bool WriteNettcastProgramFile(const std::string& localFolder, CVisEvent& e, const std::string& stem)
{
    return WriteFile(localFolder + stem + ".TXT", ProgramFile(e));
}

std::string StatusText(const StatusFacts& f)
{
    if (!f.writeFailed.empty())
        return "Error writing " + f.writeFailed;
    if (f.transferFailed)
        return "Error transfering files";
    if (f.ftpState > 0)
        return platform::StringFormat("%s = %d", f.server.c_str(), f.exportCount);
    if (f.ftpState == 0)
        return "WEB wait to connect";
    if (!f.server.empty() && !f.ftpFolder.empty() && !f.localFolder.empty())
        return "FTP Failed!";
    if (!f.localFolder.empty())
        return platform::StringFormat("Local %s = %d", f.localFolder.c_str(), f.exportCount);
    return "No setup found!";
}

}  // namespace Nettcast
