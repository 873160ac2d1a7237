#pragma once
// Two ports joined back to back in memory: what one end writes, the other
// reads. Protocols run over it in tests without any device. Each end keeps a
// record of its RTS changes and of the bytes written between them, so a test
// can see how a bus protocol keyed the line.
#include "platform/ports/Port.h"

#include <memory>
#include <string>
#include <utility>

namespace platform {

class MemoryPort : public Port {
public:
    // A joined pair of ends.
    static std::pair<std::unique_ptr<MemoryPort>, std::unique_ptr<MemoryPort>> MakePair();
    ~MemoryPort() override;

    int Configure(const PortSettings& settings) override;
    int SetRts(bool on) override;
    int SetDtr(bool on) override;
    int InputCount(size_t& count) override;
    int TakeErrors(unsigned& errors) override;
    int Read(void* buffer, size_t size, size_t& got) override;
    int WaitInput(int64_t timeoutUs) override;
    void Wake() override;
    int Write(const void* data, size_t size, int timeoutMs, size_t& written) override;
    int Purge() override;
    int Close() override;

    // What this end did on its line: "R" when RTS went on, "r" when it went
    // off, and each write as "w<count>", in order, e.g. "R w2 r".
    std::string LineTrace() const;
    bool Rts() const;
    PortSettings Settings() const;

private:
    struct Shared;
    MemoryPort(std::shared_ptr<Shared> shared, int side);

    std::shared_ptr<Shared> m_shared;
    int m_side;
};

}  // namespace platform
