#pragma once
// The boundary between the core's Windows-1252 texts and Qt's strings.
#include <QString>

#include <string>
#include <string_view>

namespace platform {

QString ToQt(std::string_view cp1252);
std::string FromQt(const QString& text);

}  // namespace platform
