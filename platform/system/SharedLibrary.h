#pragma once
// A library of another maker loaded by name while the program runs (dlopen),
// so that a program starts and works on without it. Opening again after a
// failure is allowed: a library installed while the program runs is found
// by the next try.
#include <string>

namespace platform {

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Loads a file: a name without '/' is looked for on the system's library
    // search path, any other is taken as it stands. True when loaded; else
    // Error() tells why.
    bool Open(const std::string& file);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }
    // An entry point by name, or null (Error() tells why).
    void* Symbol(const char* name);
    const std::string& Error() const { return m_error; }
    const std::string& File() const { return m_file; }

    // The file of a library that the settings name the Windows way (".\RCI2000",
    // "RCI2000.dll", "C:\SIUS\RCI2000.DLL"): lib<name>.so in the working
    // folder, the name's letters kept as they are.
    static std::string InWorkingFolder(const std::string& windowsName);

private:
    void* m_handle = nullptr;
    std::string m_file;
    std::string m_error;
};

}  // namespace platform
