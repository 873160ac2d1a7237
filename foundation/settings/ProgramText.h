#pragma once
// A program's texts: its language file in the working folder, in the
// language the program's profile names (English when it names none). Each
// program keeps one of these behind its own small namespace.
#include <memory>
#include <string>

#include "foundation/settings/LanguageTable.h"
#include "platform/files/ProfileStore.h"

class ProgramText {
public:
    // program names the user's profile (program.ini); file is the language file.
    ProgramText(std::string program, std::string file);

    // The profile in use (the user's own unless a test set another).
    platform::ProfileStore& Profile();
    void SetProfile(platform::ProfileStore* profile) { m_profile = profile; }
    // Context / Language, "EN" when missing or empty.
    std::string LanguageCode();
    // The language the profile names when code is empty, else code.
    std::string LanguageOr(const std::string& code) { return code.empty() ? LanguageCode() : code; }
    CLanguageTable& Table() { return m_table; }
    // Loads the table from the language file in that language; what the
    // table's Load gives (below 0 when the file could not be read).
    int LoadTable(const std::string& language) { return m_table.Load(m_file, language); }
    // Puts the table in use for the window kit's texts.
    void Use();

private:
    std::string m_program;
    std::string m_file;
    platform::ProfileStore* m_profile = nullptr;
    // Opened on first use, when the profile's folder is known.
    std::unique_ptr<platform::IniProfileStore> m_user;
    CLanguageTable m_table;
};

// The one ProgramText of a program (its profile's name and its language
// file), made at the first call and kept for the program's life.
ProgramText& ProgramTextOf(const std::string& program, const std::string& file);
