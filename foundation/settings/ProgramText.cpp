#include "foundation/settings/ProgramText.h"

#include <map>

#include "platform/system/TextTable.h"

ProgramText::ProgramText(std::string program, std::string file) : m_program(std::move(program)), m_file(std::move(file))
{
}

platform::ProfileStore& ProgramText::Profile()
{
    if (m_profile != nullptr)
        return *m_profile;
    if (!m_user)
        m_user = std::make_unique<platform::IniProfileStore>(platform::ProfilePath(m_program));
    return *m_user;
}

std::string ProgramText::LanguageCode()
{
    std::string code = Profile().GetString("Context", "Language", "");
    return code.empty() ? "EN" : code;
}

void ProgramText::Use()
{
    platform::SetTextTable(&m_table);
}

ProgramText& ProgramTextOf(const std::string& program, const std::string& file)
{
    // One program asks for its own texts only; a map keeps this honest when
    // a test links two programs' screens.
    static std::map<std::string, std::unique_ptr<ProgramText>> texts;
    std::unique_ptr<ProgramText>& t = texts[program];
    if (!t)
        t = std::make_unique<ProgramText>(program, file);
    return *t;
}
