#pragma once
// A screen's template: its controls with their ids, kinds, texts and places,
// kept as constant data beside the screen's class, the way the screens are
// drawn up. The kit builds the widgets from it (Dialog, FormView).
//
// Places are cells of a grid: each control sits at (row, col) of its parent,
// the window itself or a group box, and may span cells. The window's first size
// comes from the template's size in dialog units (a quarter of the average
// character width across, an eighth of the character height down).
#include <cstdint>
#include <span>

namespace platform {

enum class ControlKind : uint8_t {
    Static,     // label
    Edit,       // one line, or several with CS_MULTILINE
    ComboList,  // drop-down list, item data per entry
    ComboEdit,  // drop-down combo with its own text
    ListBox,
    Check,
    Radio,      // a group starts at a radio with CS_GROUP and is read as an index
    Group,      // group box; controls with parent = its id lie inside it
    Button,     // push button; CS_DEFAULT for the default one
    Spin,       // up-down arrows that step the number in their buddy edit
    Progress,
    ListView,   // report list: columns, item data, check boxes, sorting
    Tree,       // item data and state images
    Tab,        // tab strip with an area for its pages (TabCtrl)
    Date,
    Time,
    Custom,     // a place that the screen fills with a widget of its own; stays last
    // A new kind: its adapter in platform/ui/controls/ and its row in
    // ControlKinds.cpp, before Custom.
};

enum ControlStyle : uint32_t {
    CS_HIDDEN = 0x1,
    CS_DISABLED = 0x2,
    CS_DEFAULT = 0x4,      // the default push button (Enter)
    CS_NUMBER = 0x8,       // edit takes digits only
    CS_READONLY = 0x10,
    CS_MULTILINE = 0x20,
    CS_GROUP = 0x40,       // first radio button of a group
    CS_SORT = 0x80,        // combo or list box keeps its entries sorted
    CS_CHECKBOXES = 0x100, // list view rows with a check box
    CS_MULTISEL = 0x200,   // list box or list view with several selected rows
    CS_NOBORDER = 0x400,
    CS_PASSWORD = 0x800,
    CS_RIGHT = 0x1000,     // text aligned right
    CS_STRETCH = 0x2000,   // takes the spare room of its row and column
    CS_WRAP = 0x4000,      // spin: past one end of its range it goes on from the other
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    int parent = 0;  // 0: the window; else the id of the group box it lies in
    int row = 0;
    int col = 0;
    int rowSpan = 1;
    int colSpan = 1;
    const char* text = nullptr;  // Windows-1252
    const char* key = nullptr;   // text key; replaces text at opening and on Relabel
    uint32_t style = 0;
    int limit = 0;  // edit: most characters (0: no limit)
    int buddy = 0;  // spin: its edit
    int min = 0;    // spin and progress range
    int max = 100;
};

struct DialogTemplate {
    int id = 0;  // the template number, also the help topic of F1
    const char* caption = nullptr;
    const char* captionKey = nullptr;
    int cx = 0;  // size in dialog units
    int cy = 0;
    std::span<const ControlTemplate> controls;
};

}  // namespace platform
