#include "line/usb/UsbInbox.h"

#include "line/usb/UsbFrame.h"
#include "platform/system/Clock.h"

#include <cstring>

void UsbInbox::Clear()
{
    m_fill = 0;
    m_frameSize = 0;
}

void UsbInbox::Append(const uint8_t* data, size_t size)
{
    size_t n = size < kSize - m_fill ? size : kSize - m_fill;
    std::memcpy(m_inbox + m_fill, data, n);
    m_fill += n;
}

size_t UsbInbox::Cut(CBVLog& log)
{
    const void* end = std::memchr(m_inbox, UsbFrame::kEnd, m_fill);
    if (!end) {
        if (m_fill == kSize) {
            BV_LOG(log, 90, "USBReadEvent: I er for stor. I=%d", static_cast<int>(m_fill));
            m_fill = 0;
        }
        return 0;
    }
    size_t size = static_cast<size_t>(static_cast<const uint8_t*>(end) - m_inbox) + 1;
    std::memcpy(m_frame, m_inbox, size);
    m_frameSize = size;
    std::memmove(m_inbox, m_inbox + size, m_fill - size);
    m_fill -= size;
    return size;
}

size_t UsbInbox::Take(platform::Port& port, int waitMs, CBVLog& log, const std::atomic<bool>* stop)
{
    m_frameSize = 0;
    if (size_t size = Cut(log))
        return size;
    const int64_t until = platform::MonotonicUs() + static_cast<int64_t>(waitMs) * 1000;
    for (;;) {
        if (stop && stop->load(std::memory_order_acquire))
            return 0;
        size_t waiting = 0;
        if (port.InputCount(waiting) == 0 && waiting > 0) {
            size_t room = kSize - m_fill;
            if (waiting > room) {
                BV_LOG(log, 80, "USBReadEvent: Overflow RxBytes=%d InnBufferLast=%d", static_cast<int>(waiting),
                       static_cast<int>(m_fill));
                waiting = room;
            }
            size_t got = 0;
            if (port.Read(m_inbox + m_fill, waiting, got) == 0) {
                m_fill += got;
                if (size_t size = Cut(log))
                    return size;
                continue;
            }
        }
        int64_t left = until - platform::MonotonicUs();
        if (left <= 0)
            return 0;
        // Short slices, so that a line being closed is not held up.
        port.WaitInput(left < 20000 ? left : 20000);
    }
}
