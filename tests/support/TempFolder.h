#pragma once
// A fresh folder per test, which also becomes the working folder, so that the
// system's ".\" paths (BVLog.txt, BVLog.ini, range folders) land inside it.
#include <gtest/gtest.h>

#include <string>

namespace bvtest {

class TempFolder {
public:
    // Memory: under /dev/shm when the machine has it, for tests about locks
    // and crashes rather than the disk's speed.
    enum Place { OnDisk, InMemory };
    explicit TempFolder(Place place = OnDisk);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

    // Whole file as bytes; empty when missing.
    static std::string Read(const std::string& path);
    static void Write(const std::string& path, const std::string& bytes);

private:
    std::string m_path;
    std::string m_previousCwd;
};

// Test fixture that runs each test inside its own TempFolder.
class InTempFolder : public testing::Test {
protected:
    TempFolder folder;
};

}  // namespace bvtest
