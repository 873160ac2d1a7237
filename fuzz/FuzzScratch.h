#pragma once
// What the fuzz targets that read files share: a folder of their own for the
// files, in memory when the machine has /dev/shm (the working folder stays,
// for the corpus and any crash input), the input written as a whole file,
// and a stop at the first broken promise.
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace fuzz {

// Stops the run, so that libFuzzer keeps the input that broke a promise.
inline void Check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// A folder made when the fuzzing process first needs it and removed when the
// process ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix)
    {
        std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / (std::string(prefix) + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// For a target that works in a folder of its own: the paths on libFuzzer's
// command line (corpus folders, and the files and prefixes its flags name)
// made absolute, so that they still hold once the target has changed its
// working folder.
inline void AbsoluteArguments(int* argc, char*** argv)
{
    static const char* const kPathFlags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                             "-features_dir=", "-mutation_graph_file="};
    for (int i = 1; i < *argc; ++i) {
        std::string arg = (*argv)[i];
        std::string flag;
        if (!arg.empty() && arg[0] == '-') {
            for (const char* f : kPathFlags)
                if (arg.rfind(f, 0) == 0)
                    flag = f;
            if (flag.empty())
                continue;
        }
        std::string path = arg.substr(flag.size());
        if (path.empty() || path[0] == '/')
            continue;
        // A prefix keeps its trailing slash: it starts a file name.
        std::string absolute = (std::filesystem::current_path() / path).string();
        (*argv)[i] = strdup((flag + absolute).c_str());
    }
}

// Makes the file hold exactly these bytes; false when it cannot be written.
inline bool WriteWholeFile(const std::string& path, const void* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace fuzz
