#pragma once
// The files of the Nettcast export, which web pages and programs outside the
// system read: per target a PNG picture "<stem>_<lane>.png" and a shot file
// "<stem>_<lane>.BVD", an index "index.txt" of every target, a start page
// "default.htm" that shows the pictures, and per event a text file
// "<stem>.TXT" naming the shooting program's series.
//
// The texts keep the line ends the readers of these files have always got:
// every line ends in CR CR LF. The shot file is little-endian binary.
//
// When a target is due again is decided here as well: its countdown (ticks
// of 100 ms) and the number of shots since its last export.
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "display/model/VisEvent.h"
#include "display/model/VisPicture.h"
#include "display/model/VisTarget.h"

namespace Nettcast {

// Shots since the last export that make a target due at once.
inline constexpr int kShotThreshold = 99;
// Ticks after a failed connection before the target that tried it is due.
inline constexpr int kRetryCountdown = 110;
// Ticks the export waits after a failure, and after an incomplete set-up.
inline constexpr int kWaitAfterFailure = -100;
inline constexpr int kWaitAfterSetup = -300;

// Export format of a picture: 0 pictures only, 1 binary files only, any
// other value both.
inline bool ExportsPictures(int format) { return format != 1; }
inline bool ExportsBinary(int format) { return format != 0; }

// The stem of a target's file names: the event's name with every character
// that a file name, a URL or the start page cannot carry as it stands
// replaced by "_".
std::string Stem(std::string_view eventName);
// "<stem>_<lane><extension>".
std::string TargetFile(const std::string& stem, int lane, const char* extension);

// A folder as files are named in it: "/" appended when it ends in neither
// "/" nor "\"; an empty folder stays empty.
std::string LocalFolder(std::string folder);
// A folder on the FTP server: the same, with "\" taken as "/".
std::string RemoteFolder(std::string folder);

// Lines of the text files end in CR CR LF: every "\n" becomes "\r\n".
std::string TextMode(std::string_view text);

// After the shots were read: a new shot count is exported within 10 s, a
// changed face within 2 s.
void LowerCountdown(CVisTarget& t);
// Lowers the target's countdown and tells whether it is due: the countdown
// ran out now, or enough shots came since its last export. The due flag
// stays set until the target was exported.
bool StepCountdown(CVisTarget& t);
// The countdown after an export: the picture's display time in ticks; a
// display time of 0 would never export the target again, so it counts as
// 30 seconds.
int CountdownAfterExport(int displaySeconds);

// The bytes of a target's shot file.
std::string ShotFile(const CVisTarget& t);
// The index: a line per target with a lane, in list order.
std::string IndexText(const CVisPicture& pic);
// The start page with a picture of every target with a lane, in list order.
std::string StartPage(const CVisPicture& pic);
// The text file of an event's shooting program.
std::string ProgramFile(CVisEvent& e);

// Writes the shot file and the program file into the local folder (ending
// in a separator); false when the file could not be written.
bool WriteNettcastShotFile(const std::string& localFolder, const CVisTarget& t, const std::string& stem);
bool WriteNettcastProgramFile(const std::string& localFolder, CVisEvent& e, const std::string& stem);

// A file written beside its name and renamed over it when complete, so a
// web server or an upload never sees half of it; false, with the old file
// as it was, when it could not be written. The files are rewritten every
// few seconds and worth no wait for the disk: they are not synced.
bool ReplaceWhole(const std::string& path, const std::function<bool(std::FILE*)>& write);
bool WriteFile(const std::string& path, std::string_view bytes);

// The status line after a pass.
struct StatusFacts {
    std::string writeFailed;  // the file a pass could not write, if any
    bool transferFailed = false;
    int ftpState = 0;
    int exportCount = 0;
    std::string server, ftpFolder, localFolder;
};
std::string StatusText(const StatusFacts& facts);

}  // namespace Nettcast
