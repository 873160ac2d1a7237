#include "results/lists/files/CellText.h"

#include "platform/system/Codepage.h"

#include <cstring>

namespace results {
namespace {

// Calls out(piece) for each run of ordinary bytes and br() for each line
// break; a CR LF pair is one break.
template <typename Byte, typename Break>
void Walk(std::string_view text, Byte byte, Break br)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            br();
        } else if (c == '\n') {
            br();
        } else {
            byte(c);
        }
    }
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

bool IsHex(char c) { return std::strchr("0123456789abcdefABCDEF", c) != nullptr && c != '\0'; }

}  // namespace

std::string RtfText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    Walk(
        text,
        [&](char c) {
            if (c == '\\' || c == '{' || c == '}') {
                out += '\\';
                out += c;
            } else if (c == '\t') {
                out += "\\tab ";
            } else if (IsControl(c)) {
                out += ' ';
            } else {
                out += c;
            }
        },
        [&] { out += "\\par "; });
    return out;
}

std::string HtmlText(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    Walk(
        text,
        [&](char c) {
            switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += IsControl(c) && c != '\t' ? ' ' : c;
            }
        },
        [&] { out += "<br>"; });
    return out;
}

std::string HtmlCell(const ReportCell& cell)
{
    if (cell.link.empty())
        return HtmlText(cell.text);
    return "<a href=\"" + LinkTarget(cell.link) + "\">" + HtmlText(cell.text) + "</a>";
}

std::string PlainText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    Walk(
        text, [&](char c) { out += IsControl(c) && c != '\t' ? ' ' : c; }, [&] { out += ' '; });
    return out;
}

std::string LinkTarget(std::string_view target)
{
    static const char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = platform::Cp1252ToUtf8(target);
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                           (c != 0 && std::strchr("-._~:/?#[]@!$'()*+,;=", c) != nullptr);
        if (plain) {
            out += static_cast<char>(c);
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '%' && i + 2 < utf8.size() && IsHex(utf8[i + 1]) && IsHex(utf8[i + 2])) {
            out += '%';  // already encoded
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace results
