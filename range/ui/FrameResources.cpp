#include "range/ui/FrameResources.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace FrameResources {
namespace {

using platform::Accelerator;
using platform::MenuItem;
using platform::ToolButton;

// Popups: File, View, Command, Results, Settings, Help; inside View the list
// views (position 4), inside Command the zoom (position 0) and the commands
// for one target (position 5).
const MenuItem kMenu[] = {
    {0, 0, "File", "MENU_0"},
    {1, 32875, "Language", "ID_FIL_LANGUAGE"},
    {1, 32779, "Interface", "ID_FIL_GRENSESNITT"},
    {1, 32806, "Choose competition", "ID_OPPSETT_SEVNEVALG"},
    {1, 32814, "Shooting programs", "ID_FIL_SKYTEPROGRAM"},
    {1, 0, nullptr, nullptr},
    {1, 32832, "Unit status", "ID_FIL_HENTBV2000STATUS"},
    {1, 32828, "Line monitor", "ID_FIL_LINJESPION"},
    {1, 32778, "System administration", "ID_FIL_SYSTEMADMINISTRASJON"},
    {1, 0, nullptr, nullptr},
    {1, 57665, "Exit", "ID_APP_EXIT"},

    {0, 0, "View", "MENU_1"},
    {1, 59392, "Toolbar", "ID_VIEW_TOOLBAR"},
    {1, 59393, "Status bar", "ID_VIEW_STATUS_BAR"},
    {1, 32780, "Tabs", "ID_VIS_SKILLEARK"},
    {1, 0, nullptr, nullptr},
    {1, 0, "List view", "MENU_1_4"},
    {2, 32792, "Roll call", "IDC_VK_A1"},
    {2, 32793, "Program", "IDC_VK_A2"},
    {2, 32794, "Shots", "IDC_VK_A3"},
    {2, 32795, "Sums", "IDC_VK_A4"},
    {2, 32796, "Lift", "IDC_VK_A5"},
    {2, 32797, "Custom", "IDC_VK_A6"},
    {1, 32801, "Custom", "ID_VIS_EGENDEFINERT"},

    {0, 0, "Command", "MENU_2"},
    {1, 0, "Zoom", "MENU_2_0"},
    {2, 32809, "Whole target", "ID_KOMMANDO_ZOOM_HELESKIVEN"},
    {2, 32810, "Medium", "ID_KOMMANDO_ZOOM_MIDDELS"},
    {2, 32811, "Best", "ID_KOMMANDO_ZOOM_BESTE"},
    {1, 32774, "Motor advance", "ID_KOMMANDO_MOTORFREMTREKK"},
    {1, 32812, "Target lift", "ID_KOMMANDO_SKIVEHEIS"},
    {1, 32839, "Lights", "ID_KOMMANDO_JUSTERLYSINTENSITET"},
    {1, 0, nullptr, nullptr},
    {1, 0, "One target", "MENU_2_5"},
    {2, 32845, "Shoot", "ID_KOMMANDO_FORENSKIVE_SKYT"},
    {2, 32846, "Mark", "ID_KOMMANDO_FORENSKIVE_ANVIS"},
    {2, 32849, "New shooter", "ID_KOMMANDO_FORENSKIVE_NYSKYTTER"},
    {2, 32860, "Welcome", "ID_KOMMANDO_FORENSKIVE_VELKOMMEN"},

    {0, 0, "Results", "MENU_3"},
    {1, 32785, "Send to office", "ID_RESULTATER_SENDTILKONTOR"},
    {1, 32861, "External media", "ID_RESULT_MEDIA"},
    {1, 0, nullptr, nullptr},
    {1, 32808, "Print cards", "ID_RESULTATER_UTSKRIFTAVSKYTEKORT"},
    {1, 32788, "Score card", "ID_RESULTATER_SKYTEKORT"},
    {1, 32862, "Names", "ID_RESULTATER_NAVN"},
    {1, 0, nullptr, nullptr},
    {1, 32775, "New shooters", "ID_RESULTATER_NYESKYTTERE"},
    {1, 32786, "Welcome", "ID_RESULTATER_VELKOMMEN"},
    {1, 32868, "Message to monitor", "ID_RESULTATER_MELDINGTILMONITOR"},
    {1, 32867, "Update monitor", "ID_RESULTATER_OPPDATERMONITOR"},
    {1, 32784, "Fetch from monitor", "ID_RESULTATER_HENTFRAMONITOR"},
    {1, 0, nullptr, nullptr},
    {1, 32833, "Delete cards in monitors", "ID_RESULTATER_SLETTSKYTEKORTIMONITOR"},
    {1, 32834, "Delete cards in BVLeder", "ID_RESULTATER_SLETTKORTIBVLEDER"},
    {1, 32847, "Delete names in BVLeder", "ID_RESULTATER_SLETTNAVNIBVLEDER"},
    {1, 0, nullptr, nullptr},
    {1, 32835, "Final marking", "ID_RESULTATER_FINALEANVISNING"},

    {0, 0, "Settings", "MENU_4"},
    {1, 32803, "Competition", "ID_OPPSETT_STEVNE"},
    {1, 32804, "Lanes", "ID_OPPSETT_SKIVER"},

    {0, 0, "Help", "MENU_5"},
    {1, 57667, "Help", "ID_HELP_FINDER"},
    {1, 0, nullptr, nullptr},
    {1, 57664, "About", "ID_APP_ABOUT"},
};

const Accelerator kAccelerators[] = {
    {"Alt+1", 32792}, {"Alt+2", 32793}, {"Alt+3", 32794}, {"Alt+4", 32795}, {"Alt+5", 32796},
    {"Alt+6", 32797}, {"Alt+7", 32798}, {"Alt+8", 32799}, {"Alt+9", 32800},
    {"Alt+A", 32853}, {"Alt+E", 32854}, {"Alt+R", 32854}, {"Alt+K", 32855}, {"Alt+M", 32857},
    {"Alt+N", 32850}, {"Alt+S", 32851}, {"Alt+V", 32856}, {"Alt+Up", 32859}, {"Alt+Down", 32858},
    {"Alt+P", 57607}, {"Ctrl+P", 57607}, {"Ctrl+S", 32836}, {"Ctrl+L", 32837}, {"Ctrl+T", 32831},
    {"Home", 32816}, {"End", 32817}, {"F5", 32818}, {"F9", 32866}, {"F12", 32829},
    {"Ctrl+F7", 32863}, {"Shift+3", 32864}, {"Esc", 57665},
    {"F1", ID_HELP}, {"Shift+F1", ID_CONTEXT_HELP},
    {"F6", 57680}, {"Shift+F6", 57681},
    {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634}, {"Ctrl+X", 57635}, {"Shift+Del", 57635},
    {"Ctrl+V", 57637}, {"Shift+Ins", 57637}, {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643},
};

const ToolButton kToolBar[] = {
    {32841, "Language"}, {0, nullptr},
    {32823, "Refresh"}, {0, nullptr},
    {32824, "Print"}, {32825, "Competition"}, {0, nullptr},
    {32821, "Welcome"}, {32822, "Send all"}, {0, nullptr},
    {32840, "Final marking"}, {0, nullptr},
    {ID_CONTEXT_HELP, "Help"}, {32842, ""},
};

struct Tip {
    int id;
    const char* key;
};
const Tip kTips[] = {
    {32841, "ID_FIL_LANGUAGE"},
    {32823, "IDS_TOOL_REFRESH"},
    {32824, "ID_RESULTATER_UTSKRIFTAVSKYTEKORT"},
    {32825, "ID_OPPSETT_SEVNEVALG"},
    {32821, "ID_RESULTATER_VELKOMMEN"},
    {32822, "IDS_TOOL_SENDALL"},
    {32840, "ID_RESULTATER_FINALEANVISNING"},
    {ID_CONTEXT_HELP, "IDS_TOOL_HELP"},
};

constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;

QIcon Drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap picture(kIconWidth, kIconHeight);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return QIcon(picture);
}

// A target face: rings and a black aiming mark.
void Face(QPainter& p, QPointF centre, double radius)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, radius * 0.5, radius * 0.5);
}

}  // namespace

std::span<const MenuItem> Menu() { return kMenu; }
std::span<const Accelerator> Accelerators() { return kAccelerators; }
std::span<const ToolButton> ToolBar() { return kToolBar; }

const char* ToolTipKey(int id)
{
    for (const Tip& t : kTips)
        if (t.id == id)
            return t.key;
    return nullptr;
}

QIcon ToolIcon(int id)
{
    const QColor blue(30, 80, 200), green(0, 140, 0), red(200, 0, 0);
    switch (id) {
    case 32841:  // language: a globe
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(blue, 1.2));
            p.setBrush(QColor(200, 225, 255));
            p.drawEllipse(QRectF(1.5, 1, 12.5, 12.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(5, 1, 5.5, 12.5));
            p.drawLine(QPointF(1.5, 7.25), QPointF(14, 7.25));
        });
    case 32823:  // refresh: a circling arrow
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(green, 2));
            p.drawArc(QRectF(2.5, 2.5, 10, 10), 60 * 16, 280 * 16);
            QPainterPath head;
            head.moveTo(10, 0.5);
            head.lineTo(14.5, 3.5);
            head.lineTo(9.5, 6);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(green);
            p.drawPath(head);
        });
    case 32824:  // print: a printer with its sheet
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 0.5, 7, 5));
            p.setBrush(QColor(170, 170, 170));
            p.drawRect(QRectF(1.5, 5.5, 13, 6));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
        });
    case 32825:  // choose competition: a list with a tick
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(255, 250, 210));
            p.drawRect(QRectF(1.5, 0.5, 12, 13.5));
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(4, 4 + i * 3.5), QPointF(11.5, 4 + i * 3.5));
            p.setPen(QPen(green, 2));
            p.drawLine(QPointF(8, 11), QPointF(10.5, 13.5));
            p.drawLine(QPointF(10.5, 13.5), QPointF(15, 7));
        });
    case 32821:  // welcome: a monitor with a greeting line
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(40, 60, 90));
            p.drawRect(QRectF(1.5, 1.5, 13, 9.5));
            p.drawLine(QPointF(8, 11), QPointF(8, 13.5));
            p.drawLine(QPointF(4, 13.5), QPointF(12, 13.5));
            p.setPen(QPen(QColor(255, 230, 80), 1.5));
            p.drawLine(QPointF(4, 5), QPointF(12, 5));
            p.drawLine(QPointF(4, 8), QPointF(9, 8));
        });
    case 32822:  // send all: an arrow into the office's tray
        return Drawn([&](QPainter& p) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(230, 230, 230));
            p.drawRect(QRectF(8.5, 4.5, 6, 9));
            QPainterPath arrow;
            arrow.moveTo(0.5, 7);
            arrow.lineTo(6, 7);
            arrow.lineTo(6, 3.5);
            arrow.lineTo(11, 9);
            arrow.lineTo(6, 14.5);
            arrow.lineTo(6, 11);
            arrow.lineTo(0.5, 11);
            arrow.closeSubpath();
            p.setBrush(blue);
            p.drawPath(arrow);
        });
    case 32840:  // final marking: a target with a flag
        return Drawn([&](QPainter& p) {
            Face(p, QPointF(6.5, 8), 6);
            p.setPen(QPen(Qt::black, 1));
            p.drawLine(QPointF(12.5, 1), QPointF(12.5, 14));
            p.setPen(Qt::NoPen);
            p.setBrush(red);
            p.drawRect(QRectF(12.5, 1, 3.5, 3.5));
        });
    case ID_CONTEXT_HELP:  // help on what is pointed at: an arrow and a question mark
        return Drawn([&](QPainter& p) {
            QPainterPath arrow;
            arrow.moveTo(1, 1);
            arrow.lineTo(1, 11);
            arrow.lineTo(3.5, 8.5);
            arrow.lineTo(6, 13);
            arrow.lineTo(7.5, 12);
            arrow.lineTo(5, 8);
            arrow.lineTo(8, 8);
            arrow.closeSubpath();
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawPath(arrow);
            QFont font = p.font();
            font.setPixelSize(11);
            font.setBold(true);
            p.setFont(font);
            p.setPen(blue);
            p.drawText(QRectF(8, 0, 8, 14), Qt::AlignCenter, QStringLiteral("?"));
        });
    case 32842:  // a target face
        return Drawn([&](QPainter& p) { Face(p, QPointF(8, 7.5), 6.5); });
    default:
        return QIcon();
    }
}

}  // namespace FrameResources
