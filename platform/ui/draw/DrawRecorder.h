#pragma once
// A drawing target that keeps the calls made on a surface instead of drawing
// them, for tests of page and picture layouts: which text went where, in
// which font and alignment, which frames and shapes, on which page. It has a
// printer's size, resolution and physical offsets of the test's choosing,
// and measures text with the real fonts, so layouts come out as on paper.
#include "platform/ui/draw/DrawTarget.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class DrawRecorder : public DrawTarget {
public:
    explicit DrawRecorder(const DeviceCaps& caps = A4(600, 0, 0));

    // An A4 sheet at dotsPerInch whose printable area starts the given
    // device pixels from the paper's left and top edges and ends as far from
    // the right and bottom.
    static DeviceCaps A4(int dotsPerInch, int offsetX, int offsetY);

    DeviceCaps Caps() const override { return m_caps; }
    QPainter* Painter() override { return nullptr; }
    bool IsRaster() const override { return false; }

    int StartDoc(const std::string& documentName) override;
    int StartPage() override;
    int EndPage() override;
    int EndDoc() override;
    int AbortDoc() override;

    bool Records() const override { return true; }
    void Record(DrawCall&& call) override;

    const std::vector<DrawCall>& Calls() const { return m_calls; }
    // The calls of one name, in order.
    std::vector<DrawCall> Find(std::string_view name) const;
    // The first TextOut or DrawText of exactly this text; nullptr when none.
    const DrawCall* FindText(std::string_view text) const;
    // The page a call was made on (1 for the first page, 0 outside pages).
    int PageOf(const DrawCall* call) const;
    int Pages() const { return m_pages; }
    void Clear();

private:
    DeviceCaps m_caps;
    std::vector<DrawCall> m_calls;
    std::vector<int> m_pageOfCall;
    int m_pages = 0;
    bool m_inPage = false;
};

}  // namespace platform
