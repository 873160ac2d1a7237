#include "platform/ui/UiText.h"

#include "platform/system/Codepage.h"

namespace platform {

QString ToQt(std::string_view cp1252)
{
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (unsigned char c : cp1252)
        out += QChar(static_cast<char16_t>(Cp1252ToUnicode(c)));
    return out;
}

std::string FromQt(const QString& text)
{
    return Utf8ToCp1252(text.toStdString());
}

}  // namespace platform
