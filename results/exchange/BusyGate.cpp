#include "results/exchange/BusyGate.h"

namespace results {

void CBusyGate::Enter()
{
    std::lock_guard pass(m_pass);
    ++m_depth;
}

void CBusyGate::Leave() { --m_depth; }

bool CBusyGate::TryPass()
{
    m_pass.lock();
    if (m_depth.load() > 0) {
        m_pass.unlock();
        return false;
    }
    return true;
}

void CBusyGate::EndPass() { m_pass.unlock(); }

}  // namespace results
