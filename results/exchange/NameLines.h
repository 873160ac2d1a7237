#pragma once
// The texts the exchange export writes for the range control and the KME
// system: the start score as a decimal, a line of the fixed-column name file
// of a Q-NET relay and the lines of a KME start list. Values are cleaned on
// the way out: a CR or LF inside a name would end the line or the ini value
// early, and a ';' inside a KME field would split it.
#include <string>

namespace results {

// CR and LF become blanks.
std::string ExchangeValue(std::string text);
// As ExchangeValue, and ';' becomes ','.
std::string KmeValue(std::string text);

// Tenths as "95.5" (955), "0.0", "-0.5".
std::string StartScoreText(int tenths);

// "%2d %8s %3s %20s %20s %3d\r\n": target, eight blanks, class (3
// characters), name and club (20 each, left-aligned, cut), start score in
// tenths. Columns: target 0-1, class 12-14, name 16-35, club 37-56, score
// from 58.
std::string NameColumnLine(int target, const std::string& className, const std::string& name,
                           const std::string& club, int startScoreTenths);

// "ID;relay;target;;;;0;0\r\n" for a target without shooter.
std::string KmeFreeLine(const std::string& kmeId, int relay, int target);
// "ID;relay;target;name;club;class;score;startnr\r\n", the score in whole
// rings (tenths / 10).
std::string KmeShooterLine(const std::string& kmeId, int relay, int target, const std::string& name,
                           const std::string& club, const std::string& className, int startScoreTenths,
                           int startNr);

}  // namespace results
