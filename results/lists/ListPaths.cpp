#include "results/lists/ListPaths.h"

#include "platform/files/FileSystem.h"

namespace results {

std::string PrintFolder(int competition) { return ".\\Comp" + std::to_string(competition) + "\\Print"; }

bool IsPlainFileName(std::string_view name)
{
    return !name.empty() && name.find_first_of("\\/:") == std::string_view::npos &&
           name.find("..") == std::string_view::npos;
}

bool ListFilePath(int competition, const std::string& typedName, ListFileFormat format, std::string& path)
{
    if (!IsPlainFileName(typedName))
        return false;
    const std::string folder = PrintFolder(competition);
    platform::CreateFolders(folder);
    const char* extension = format == ListFileFormat::Html ? ".htm" : format == ListFileFormat::Text ? ".txt" : ".rtf";
    path = folder + "\\" + typedName + extension;
    return true;
}

}  // namespace results
