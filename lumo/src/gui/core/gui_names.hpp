#pragma once
// The element and attribute names of GUI descriptions: every GUI class reads its XML through
// these, so a name is spelt in one place only.

namespace lumo {
namespace gui {

extern const char* const XML_GUI_DATA;
extern const char* const XML_GUI_DATASTRING;
extern const char* const XML_GUI_FONTS;
extern const char* const XML_GUI_IMAGES;
/// Attribute of the GUI node naming an image bank of the resource manager to use as its own.
extern const char* const XML_GUI_IMAGEBANK;
extern const char* const XML_GUI_PLAINRECTSTYLE;
extern const char* const XML_GUI_TEXTUREDRECTSTYLE;
extern const char* const XML_GUI_SIMPLEFONTSTYLE;
extern const char* const XML_GUI_LABELSTYLE;
extern const char* const XML_GUI_BUTTONSTYLE;
extern const char* const XML_GUI_DROPDOWNLISTSTYLE;
extern const char* const XML_GUI_CHECKBOXSTYLE;
extern const char* const XML_GUI_PANE;
extern const char* const XML_GUI_INPUTCAPTOR;
extern const char* const XML_GUI_LABEL;
extern const char* const XML_GUI_BUTTON;
extern const char* const XML_GUI_CHECKBOX;
extern const char* const XML_GUI_DROPDOWNLIST;
extern const char* const XML_GUI_TEXTFIELD;
extern const char* const XML_GUI_SLIDER_INT;
extern const char* const XML_GUI_SLIDER_FLOAT;
extern const char* const XML_GUI_ITEM;
extern const char* const XML_GUI_NAME;
extern const char* const XML_GUI_VISIBLE;
extern const char* const XML_GUI_ENABLED;
extern const char* const XML_GUI_X;
extern const char* const XML_GUI_Y;
extern const char* const XML_GUI_WIDTH;
extern const char* const XML_GUI_HEIGHT;
extern const char* const XML_GUI_GRID_X;
extern const char* const XML_GUI_GRID_Y;
extern const char* const XML_GUI_GRID_WIDTH;
extern const char* const XML_GUI_GRID_HEIGHT;
extern const char* const XML_GUI_CURSOR;
extern const char* const XML_GUI_FONT;
extern const char* const XML_GUI_FAMILY;
extern const char* const XML_GUI_SIZE;
extern const char* const XML_GUI_JUSTIFICATION_HORIZONTAL;
extern const char* const XML_GUI_JUSTIFICATION_VERTICAL;
extern const char* const XML_GUI_IMAGE_HORIZONTAL;
extern const char* const XML_GUI_IMAGE_VERTICAL;
extern const char* const XML_GUI_COLOR;
extern const char* const XML_GUI_IMAGECOLOR;
extern const char* const XML_GUI_COLORBORDER;
extern const char* const XML_GUI_COLORBORDER1;
extern const char* const XML_GUI_COLORBORDER2;
extern const char* const XML_GUI_STYLE;
extern const char* const XML_GUI_RECT;
extern const char* const XML_GUI_UP;
extern const char* const XML_GUI_DOWN;
extern const char* const XML_GUI_UPHOT;
extern const char* const XML_GUI_DOWNHOT;
extern const char* const XML_GUI_CHECKED;
extern const char* const XML_GUI_UNCHECKED;
extern const char* const XML_GUI_TRIGGER;
extern const char* const XML_GUI_TRIGGER_ON;
extern const char* const XML_GUI_TRIGGER_OFF;
extern const char* const XML_GUI_TRIGGER_CONFIRM;
extern const char* const XML_GUI_TRIGGER_KEY;
extern const char* const XML_GUI_TRIGGER_JOYBUTTON;
extern const char* const XML_GUI_TRIGGER_JOYAXIS;
extern const char* const XML_GUI_TRIGGER_NORTH;
extern const char* const XML_GUI_TRIGGER_EAST;
extern const char* const XML_GUI_TRIGGER_SOUTH;
extern const char* const XML_GUI_TRIGGER_WEST;
extern const char* const XML_GUI_CAPTION;
extern const char* const XML_GUI_IMAGE;
extern const char* const XML_GUI_BORDER;
extern const char* const XML_GUI_UPPERLEFT;
extern const char* const XML_GUI_UPPER;
extern const char* const XML_GUI_UPPERRIGHT;
extern const char* const XML_GUI_LEFT;
extern const char* const XML_GUI_CENTER;
extern const char* const XML_GUI_RIGHT;
extern const char* const XML_GUI_LOWERLEFT;
extern const char* const XML_GUI_LOWER;
extern const char* const XML_GUI_LOWERRIGHT;
extern const char* const XML_GUI_STRETCH;
extern const char* const XML_GUI_ID;
extern const char* const XML_GUI_MIN;
extern const char* const XML_GUI_MAX;
extern const char* const XML_GUI_STEP_SMALL;
extern const char* const XML_GUI_STEP_LARGE;
extern const char* const XML_GUI_VALUE;
extern const char* const XML_GUI_ORIENTATION;
extern const char* const XML_GUI_BUTTONS_BEFORE;
extern const char* const XML_GUI_BUTTONS_AFTER;
extern const char* const XML_GUI_BAR_STYLE;
extern const char* const XML_GUI_HANDLE_STYLE;
extern const char* const XML_GUI_BUTTON_STYLE;
extern const char* const XML_GUI_REPEAT;

/// Attributes of this toolkit beyond the list above: the GUI's auto-repeat timing and a text
/// field's length limit.
extern const char* const XML_GUI_KEYDELAY;
extern const char* const XML_GUI_KEYREPEAT;
extern const char* const XML_GUI_MAXLENGTH;

}  // namespace gui
}  // namespace lumo
