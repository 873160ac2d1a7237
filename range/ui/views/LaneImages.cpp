#include "range/ui/views/LaneImages.h"

#include "range/base/LaneTable.h"

#include <QPainter>

#include <array>

namespace LaneImages {
namespace {

struct Look {
    QColor fill;
    QColor mark;   // a second colour: a corner mark, a letter, a ring
    char letter;   // drawn in the mark colour; 0 none
    bool hollow;   // a ring instead of a disc
};

Look LookOf(int index)
{
    const QColor green(0, 170, 0), amber(240, 170, 0), orange(230, 100, 0), red(210, 0, 0);
    const QColor blue(30, 90, 220), grey(150, 150, 150), cyan(0, 170, 190), violet(140, 60, 170);
    switch (index) {
    case LineStatus::kSimulated: return {grey, Qt::white, 'S', false};
    case LineStatus::kAnswers: return {green, Qt::white, 0, false};
    case LineStatus::kFailing: return {amber, Qt::black, 0, false};
    case LineStatus::kFailingLong: return {orange, Qt::black, 0, false};
    case LineStatus::kPending: return {blue, Qt::white, 0, false};
    case LineStatus::kPendingFailing: return {blue, amber, 0, false};
    case LineStatus::kPendingFailingLong: return {blue, orange, 0, false};
    case LineStatus::kNoContact: return {red, Qt::white, 'x', false};
    case 8: return {green, green, 0, true};                      // answers, the target idle
    case 9: return {green, red, '!', false};                     // answers, the target reports a fault
    case LineStatus::kShotWarning: return {green, amber, '!', false};
    case LineStatus::kOutside: return {violet, Qt::white, 0, false};
    case LineStatus::kAdapterNotReady: return {grey, red, 'U', false};
    case LineStatus::kAdapterFirmware: return {cyan, Qt::white, 'U', false};
    default: return {Qt::transparent, Qt::transparent, 0, false};
    }
}

QPixmap Draw(int index)
{
    QPixmap picture(kWidth, kHeight);
    picture.fill(Qt::transparent);
    Look look = LookOf(index);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF disc(1.5, 0.5, kHeight - 1.0, kHeight - 1.0);
    if (look.hollow) {
        p.setPen(QPen(look.fill, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(disc.adjusted(1, 1, -1, -1));
    } else {
        p.setPen(QPen(look.fill.darker(140), 1));
        p.setBrush(look.fill);
        p.drawEllipse(disc);
    }
    if (look.letter != 0) {
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(look.mark);
        p.drawText(disc, Qt::AlignCenter, QString(QChar(look.letter)));
    } else if (look.mark != look.fill && look.mark != Qt::white && look.mark != Qt::black) {
        // A corner in the second colour: waiting and failing at once.
        p.setPen(Qt::NoPen);
        p.setBrush(look.mark);
        p.drawEllipse(QRectF(kWidth - 6.0, kHeight - 6.0, 5.5, 5.5));
    }
    return picture;
}

}  // namespace

const QPixmap& Image(int index)
{
    // Made once and kept to the end: pictures outlive no window system.
    static const auto* images = [] {
        auto* all = new std::array<QPixmap, kCount + 1>;
        for (int i = 0; i <= kCount; ++i)
            (*all)[static_cast<size_t>(i)] = Draw(i < kCount ? i : -1);
        return all;
    }();
    return (*images)[static_cast<size_t>(index >= 0 && index < kCount ? index : kCount)];
}

}  // namespace LaneImages
