#pragma once
// A bvtool res worker on the working folder "res" of a test, taking part in
// the exchange, its passes read back from the file its output goes to.
#include "OutputProcess.h"
#include "TempFolder.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace bvtest {

// A bvtool res worker on the working folder, its output going to a file.
class WorkerProcess : public OutputProcess {
public:
    // passMs: the sleep between passes; a job runs every 21st pass.
    explicit WorkerProcess(const std::string& output, const std::string& passMs = "5")
        : OutputProcess(output, {BV_BINARY_DIR "/tools/bvtool/bvtool", "res", "worker", "res", "--take-part",
                                 "--pass-ms", passMs})
    {
    }

    struct Pass {
        int k;
        std::string role;
        int quiet;
        int imported;
    };
    std::vector<Pass> Passes() const
    {
        std::vector<Pass> passes;
        std::istringstream in(TempFolder::Read(Output()));
        for (std::string line; std::getline(in, line);) {
            Pass p;
            char role[16];
            if (std::sscanf(line.c_str(), "pass\t%d\t%15s\t%d\t%d", &p.k, role, &p.quiet, &p.imported) == 4) {
                p.role = role;
                passes.push_back(p);
            }
        }
        return passes;
    }
    bool EverReader() const
    {
        for (const Pass& p : Passes())
            if (p.role == "reader")
                return true;
        return false;
    }
    int Imported() const
    {
        int sum = 0;
        for (const Pass& p : Passes())
            sum += p.imported;
        return sum;
    }
    // The role its last pass reported; empty before its first pass.
    std::string Role() const
    {
        const std::vector<Pass> passes = Passes();
        return passes.empty() ? std::string() : passes.back().role;
    }
};

}  // namespace bvtest
