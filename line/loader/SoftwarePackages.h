#pragma once
// The software packages a service technician loads into the units: files of
// the program folder named like DU-NO0208.ZIP (display units, Norwegian) or
// CU-1234.EXE (target controllers), zip archives or self-extracting ones,
// which unpack to the image file the loader reads.
#include <string>
#include <vector>

struct SoftwarePackage {
    std::string name;             // the file name without its last four characters
    bool selfExtracting = false;  // .EXE, else .ZIP
    std::string FileName() const { return name + (selfExtracting ? ".EXE" : ".ZIP"); }
};

// Whether a file name is a package for a unit kind (1 display units, 2 and 3
// target controllers, 0 any) in a language (its code, empty for any): 10 to
// 14 characters, ending in .EXE or .ZIP, with the language from the fourth
// character on, and DU- or CU- for the kind. Letter case does not count.
bool IsSoftwarePackage(const std::string& fileName, int kind, const std::string& language,
                       bool* selfExtracting = nullptr);

// The packages among the files of a folder, in name order.
std::vector<SoftwarePackage> ListSoftwarePackages(const std::string& folder, int kind, const std::string& language);

// Unpacks a package into the folder, each entry where the archive puts it:
// 0, or 126 when it could not be unpacked.
int UnpackPackage(const std::string& folder, const SoftwarePackage& package);

// The image file that a package for the kind unpacks to.
const char* ImageFileOfKind(int kind);
