#include "model/MenuTable.h"

#include <array>

namespace {

using M = MenuItem;

struct CommandText {
    int id;
    const char* text;
};

// Items that come and go with the plot's modes and the host's settings.
constexpr std::array kRunTimeItems{
    CommandText{ID_ADD_TIMESTAMP, "Add Timestamp"},
    CommandText{ID_PROFILE_VARIABLES, "&Profile Variables...\tAlt+A"},
    CommandText{ID_PROFILE_TABLE, "Profile T&able..."},
    CommandText{ID_LIVE_PLOT, "Live Plot"},
    CommandText{ID_ZOOM_IN_TIME, "Zoom In &Time Axis\tCtrl+Right Arrow"},
    CommandText{ID_ZOOM_OUT_TIME, "Zoom Out Time &Axis\tCtrl+Left Arrow"},
    CommandText{ID_TIME_RANGE, "Time R&ange ..."},
    CommandText{ID_TIME_ON_X, "Time on &X-axis"},
    CommandText{ID_ZOOM_IN_X, "Zoo&m In X Axis"},
    CommandText{ID_ZOOM_OUT_X, "Zoom Out X &Axis"},
    CommandText{ID_SHOW_AS_HISTORY, "Show as &History"},
};

constexpr std::array kPrompts{
    CommandText{ID_REDRAW, "Redraw the plot"},
    CommandText{ID_ZOOM_IN, "Zoom in"},
    CommandText{ID_ZOOM_OUT, "Zoom out"},
    CommandText{ID_ZOOM_FULL, "Zoom out to full plot view"},
    CommandText{ID_PROPERTIES, "Bring up the property pages"},
    CommandText{ID_ADD_TEXT, "Add a text annotation"},
    CommandText{ID_SHOW_LEGEND, "Show or hide the legend box"},
    CommandText{ID_HIDE_VARIABLE, "Hide variables"},
    CommandText{ID_EDIT, "Edit the selected object"},
    CommandText{ID_ZOOM_REGION, "Zoom into the region"},
    CommandText{ID_DELETE_POINTS, "Delete the data points bound by the region"},
    CommandText{ID_DELETE_TEXT, "Delete the selected text annotation"},
    CommandText{ID_COPY, "Copy to the paste buffer"},
    CommandText{ID_PASTE, "Paste from the paste buffer"},
    CommandText{ID_RESET_FORM, "Resets this plot to the original definition"},
};

constexpr std::array<int, 8> kResources{MENU_MAIN,    MENU_OBJECT,  MENU_HOST_TEXT, MENU_REGION,
                                MENU_GROUP,   MENU_ELEMENT, MENU_TEXT,      MENU_PATH};

MenuItem Popup(const char* name, std::vector<MenuItem> items) {
    return M::Sub(name, std::move(items));
}

} // namespace

CContextMenu LoadMenuResource(int resource) {
    switch (resource) {
    case MENU_MAIN:
        return {resource,
                Popup("Zoom", {M::Cmd(ID_REDRAW, "&Redraw\tCtrl+W"),
                               M::Cmd(ID_ZOOM_IN, "Zoom &In\tCtrl+Up Arrow"),
                               M::Cmd(ID_ZOOM_OUT, "Zoom &Out\tCtrl+Down Arrow"),
                               M::Cmd(ID_ZOOM_FULL, "Zoom &Full\tCtrl+End"), M::Sep(),
                               M::Cmd(ID_PROPERTIES, "Proper&ties...\tAlt+Enter"),
                               M::Cmd(ID_RESET_FORM, "Reset &Form Properties"),
                               M::Sub("&Modify", {M::Cmd(ID_ADD_TEXT, "&Add Text"),
                                                  M::Cmd(ID_SHOW_LEGEND, "Show &Legend"),
                                                  M::Cmd(ID_HIDE_VARIABLE, "&Hide Variable...")}),
                               M::Cmd(ID_COPY, "&Copy\tCtrl+C"),
                               M::Cmd(ID_PASTE, "&Paste\tCtrl+V")})};
    case MENU_OBJECT:
        return {resource, Popup("Object", {M::Cmd(ID_EDIT, "Edit...")})};
    case MENU_HOST_TEXT:
        return {resource,
                Popup("Object", {M::Cmd(ID_EDIT, "Edit..."), M::Cmd(ID_DELETE, "&Delete\tDel")})};
    case MENU_REGION:
        return {resource, Popup("Region", {M::Cmd(ID_ZOOM_REGION, "Zoom In"),
                                           M::Cmd(ID_DELETE_POINTS, "Delete Points")})};
    case MENU_GROUP:
        return {resource,
                Popup("Group", {M::Cmd(ID_DELETE, "&Delete\tDel"), M::Cmd(ID_GROUP, "&Group")})};
    case MENU_ELEMENT:
        return {resource, Popup("Element", {M::Cmd(ID_DELETE, "&Delete\tDel"),
                                            M::Cmd(ID_LOWER, "Lower"), M::Cmd(ID_FILL, "&Fill"),
                                            M::Cmd(ID_ATTACH, "Attach"),
                                            M::Cmd(ID_CENTER_VIEW, "Center View\tCtrl+Home")})};
    case MENU_TEXT:
        return {resource, Popup("Text", {M::Cmd(ID_DELETE, "&Delete\tDel"),
                                         M::Cmd(ID_LOWER, "Lower"), M::Cmd(ID_EDIT_SHAPE, "Edit"),
                                         M::Cmd(ID_ATTACH, "Attach"),
                                         M::Cmd(ID_CENTER_VIEW, "Center View\tCtrl+Home")})};
    case MENU_PATH:
        return {resource,
                Popup("Path", {M::Cmd(ID_SHAPE_CUT, "Cu&t\tCtrl+X"),
                               M::Cmd(ID_SHAPE_COPY, "&Copy\tCtrl+C"),
                               M::Cmd(ID_DELETE, "&Delete\tDel"), M::Sep(),
                               M::Cmd(ID_LOWER, "Lower"), M::Cmd(ID_UNGROUP, "&Ungroup"),
                               M::Cmd(ID_ATTACH, "Attach"),
                               M::Cmd(ID_CENTER_VIEW, "Center View\tCtrl+Home")})};
    default:
        return {};
    }
}

std::span<const int> MenuResourceList() { return kResources; }

MenuItem RunTimeMenuItem(int command) {
    for (const CommandText& c : kRunTimeItems)
        if (c.id == command) return M::Cmd(c.id, c.text);
    return M::Cmd(command, "");
}

std::string MenuPrompt(int command) {
    for (const CommandText& c : kPrompts) {
        if (c.id == command) {
            std::string text = c.text;
            return text.substr(0, text.find('\n'));
        }
    }
    return {};
}
