#include "platform/system/SharedLibrary.h"

#include "platform/system/SystemInfo.h"

#include <dlfcn.h>

namespace platform {

SharedLibrary::~SharedLibrary() { Close(); }

bool SharedLibrary::Open(const std::string& file)
{
    Close();
    m_file = file;
    dlerror();
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* why = dlerror();
        m_error = why ? why : "cannot be loaded";
        return false;
    }
    m_error.clear();
    return true;
}

void SharedLibrary::Close()
{
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
}

void* SharedLibrary::Symbol(const char* name)
{
    if (!m_handle) {
        m_error = "not loaded";
        return nullptr;
    }
    dlerror();
    void* entry = dlsym(m_handle, name);
    if (!entry) {
        const char* why = dlerror();
        m_error = why ? why : std::string(name) + " missing";
    }
    return entry;
}

std::string SharedLibrary::InWorkingFolder(const std::string& windowsName)
{
    std::string name = windowsName;
    size_t cut = name.find_last_of("\\/:");
    if (cut != std::string::npos)
        name = name.substr(cut + 1);
    if (name.size() > 4) {
        std::string tail = name.substr(name.size() - 4);
        for (char& c : tail)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        if (tail == ".dll")
            name.resize(name.size() - 4);
    }
    std::string folder = WorkingFolder();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + "lib" + name + ".so";
}

}  // namespace platform
