#include "platform/ui/draw/DrawRecorder.h"

namespace platform {

DrawRecorder::DrawRecorder(const DeviceCaps& caps) : m_caps(caps) {}

DeviceCaps DrawRecorder::A4(int dotsPerInch, int offsetX, int offsetY)
{
    DeviceCaps caps;
    caps.logPixelsX = caps.logPixelsY = dotsPerInch;
    // 210 x 297 mm at 25.4 mm to the inch.
    caps.physicalWidth = static_cast<int>(2100.0 * dotsPerInch / 254.0 + 0.5);
    caps.physicalHeight = static_cast<int>(2970.0 * dotsPerInch / 254.0 + 0.5);
    caps.physicalOffsetX = offsetX;
    caps.physicalOffsetY = offsetY;
    caps.horzRes = caps.physicalWidth - 2 * offsetX;
    caps.vertRes = caps.physicalHeight - 2 * offsetY;
    caps.bitsPixel = 1;
    return caps;
}

int DrawRecorder::StartDoc(const std::string&) { return 1; }

int DrawRecorder::StartPage()
{
    ++m_pages;
    m_inPage = true;
    return 1;
}

int DrawRecorder::EndPage()
{
    m_inPage = false;
    return 1;
}

int DrawRecorder::EndDoc() { return 1; }

int DrawRecorder::AbortDoc() { return 1; }

void DrawRecorder::Record(DrawCall&& call)
{
    m_calls.push_back(std::move(call));
    m_pageOfCall.push_back(m_inPage ? m_pages : 0);
}

std::vector<DrawCall> DrawRecorder::Find(std::string_view name) const
{
    std::vector<DrawCall> found;
    for (const DrawCall& call : m_calls) {
        if (call.name == name)
            found.push_back(call);
    }
    return found;
}

const DrawCall* DrawRecorder::FindText(std::string_view text) const
{
    for (const DrawCall& call : m_calls) {
        if ((call.name == "TextOut" || call.name == "DrawText") && call.text == text)
            return &call;
    }
    return nullptr;
}

int DrawRecorder::PageOf(const DrawCall* call) const
{
    if (call == nullptr || m_calls.empty() || call < m_calls.data() || call >= m_calls.data() + m_calls.size())
        return 0;
    return m_pageOfCall[static_cast<size_t>(call - m_calls.data())];
}

void DrawRecorder::Clear()
{
    m_calls.clear();
    m_pageOfCall.clear();
    m_pages = 0;
    m_inPage = false;
}

}  // namespace platform
