#include "foundation/settings/ProgramText.h"

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
