#pragma once
#include "model/ContextMenu.h"

#include <span>
#include <string>

// Command identifiers of the context menus.
enum MenuCommand : int {
    ID_REDRAW = 32768,
    ID_ZOOM_IN = 32769,
    ID_ZOOM_OUT = 32770,
    ID_ZOOM_FULL = 32771,
    ID_OPEN_PLOT_FILE = 32772,
    ID_PROPERTIES = 32774,
    ID_ADD_TEXT = 32776,
    ID_ADD_TIMESTAMP = 32777,
    ID_SHOW_LEGEND = 32778,
    ID_HIDE_VARIABLE = 32779,
    ID_EDIT = 32780,
    ID_ZOOM_REGION = 32781,
    ID_DELETE_POINTS = 32782,
    ID_DELETE_TEXT = 32783,
    ID_PROFILE_VARIABLES = 32784,
    ID_COPY = 32785,
    ID_PASTE = 32786,
    ID_SHOW_AS_HISTORY = 32787,
    ID_PROFILE_TABLE = 32788,
    ID_RESET_FORM = 32789,
    ID_ZOOM_IN_TIME = 32790,
    ID_ZOOM_OUT_TIME = 32791,
    ID_TIME_RANGE = 32792,
    ID_TIME_ON_X = 32793,
    ID_ZOOM_IN_X = 32794,
    ID_ZOOM_OUT_X = 32795,
    ID_LIVE_PLOT = 32796,
    ID_GROUP = 56011,
    // The drawing tools of the toolbar.
    ID_TOOL_BOX = 56015,
    ID_TOOL_LINE = 56016,
    ID_TOOL_POLYGON = 56017,
    ID_TOOL_ELLIPSE = 56018,
    ID_TOOL_UPPER_HALF = 56019,
    ID_TOOL_RIGHT_HALF = 56020,
    ID_TOOL_QUARTER_ARC = 56021,
    ID_TOOL_MARKER = 56022,
    ID_TOOL_POLYLINE = 56023,
    ID_TOOL_TEXT = 56024,
    ID_ATTACH = 56068,
    ID_LOWER = 56087,
    ID_UNGROUP = 56088,
    ID_FILL = 56089,
    ID_EDIT_SHAPE = 56090,
    ID_CENTER_VIEW = 56102,
    ID_DELETE = 57632,
    ID_SHAPE_COPY = 57634,
    ID_SHAPE_CUT = 57635,
};

// ID_DELETE as a 16-bit command parameter delivers it: 57632 read as a signed short.
inline constexpr int ID_DELETE_AS_SHORT = ID_DELETE - 65536;

// Menu resources of the control.
enum MenuResource : int {
    MENU_MAIN = 30224,
    MENU_OBJECT = 213,
    MENU_HOST_TEXT = 30225,
    MENU_REGION = 214,
    MENU_GROUP = 16303,
    MENU_ELEMENT = 16308,
    MENU_PATH = 16309,
    MENU_TEXT = 16310,
};

// The menu resource with that number, as built into the control (an empty menu if unknown).
CContextMenu LoadMenuResource(int resource);
// The resources the model loads, in the order it keeps them.
std::span<const int> MenuResourceList();
// An item the control adds to its menus at run time.
MenuItem RunTimeMenuItem(int command);
// The prompt shown while a command is highlighted: the text before its first line break,
// empty when the command has none.
std::string MenuPrompt(int command);
