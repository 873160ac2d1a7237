#include "line/loader/SoftwarePackages.h"

#include "foundation/files/BVLog.h"
#include "foundation/files/Unzip.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SystemPath.h"

#include <cctype>

namespace {

std::string Upper(const std::string& text)
{
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

// What a package's name holds from its fourth character on.
constexpr size_t kNameStart = 3;

}  // namespace

bool IsSoftwarePackage(const std::string& fileName, int kind, const std::string& language, bool* selfExtracting)
{
    if (fileName.size() < 10 || fileName.size() > 14)
        return false;
    std::string upper = Upper(fileName);
    // A name that only holds .ZIP somewhere could not be found again as
    // <name>.ZIP when it is sent.
    std::string ending = upper.substr(upper.size() - 4);
    if (ending != ".EXE" && ending != ".ZIP")
        return false;
    if (!language.empty() && upper.find(Upper(language), kNameStart) == std::string::npos)
        return false;
    if (kind == 1 && upper.find("DU-") == std::string::npos)
        return false;
    if ((kind == 2 || kind == 3) && upper.find("CU-") == std::string::npos)
        return false;
    if (selfExtracting)
        *selfExtracting = ending == ".EXE";
    return true;
}

std::vector<SoftwarePackage> ListSoftwarePackages(const std::string& folder, int kind, const std::string& language)
{
    std::vector<SoftwarePackage> packages;
    for (const std::string& name : platform::FindFiles(folder, "*")) {
        bool exe = false;
        if (IsSoftwarePackage(name, kind, language, &exe))
            packages.push_back({name.substr(0, name.size() - 4), exe});
    }
    return packages;
}

int UnpackPackage(const std::string& folder, const SoftwarePackage& package)
{
    // A self-extracting package is a zip archive behind a program of its
    // own; the archive's directory at its end finds the entries.
    CUnzip unzip;
    std::string path = platform::JoinSystemPath(folder, package.FileName());
    if (!unzip.Open(path) || !unzip.ExtractAll(folder, false)) {
        CBVLog log;
        BV_LOG(log, 80, "Cannot unpack %s", path.c_str());
        return 126;
    }
    unzip.Close();
    return 0;
}

const char* ImageFileOfKind(int kind) { return kind == 1 ? "Display.s28" : "Lydskive.s28"; }
