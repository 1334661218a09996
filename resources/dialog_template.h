#pragma once

#include <QString>

#include <span>

// A window described as data, the way a dialog manager lays it out: every
// position and size is in dialog units, which the window's font turns into
// pixels (a quarter of the average letter width across, an eighth of the font
// height down).

// What a control is. Each kind fixes its widget, whether it is a tab stop and
// how it treats its caption.
enum class ControlKind {
    EtchedFrame,        // static, etched frame, no caption
    PushButton,         // never the default button
    DefaultPushButton,  // the button Enter clicks
    ReadOnlyField,      // single-line text, read-only, thin sunken edge, scrolls
    AutoCheckBox,       // check box that toggles itself
    DropDownList,       // list without typing; its height includes the dropped list
    StaticText,         // "&" marks a mnemonic, "&&" is a literal "&"
    StaticTextNoPrefix, // every "&" shown as it stands
    LinkText,           // a hyperlink whose text is its address, every "&" as it stands
    StaticIcon,         // shows picture iconId at its own size
    GroupBox,           // captioned or not
};

struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char *caption; // UTF-8, "" for none
    DialogRect rect;
    int iconId = 0; // StaticIcon only
};

struct DialogTemplate {
    int id;
    const char *title; // UTF-8
    const char *fontFace;
    int fontPoints;
    int width; // client area
    int height;
    // A window of its own on the task bar rather than one owned by another window.
    bool appWindow;
    // In creation order, which is also the tab order.
    std::span<const ControlTemplate> controls;
};

// The sampler window's template (IDD_SAMPLER).
const DialogTemplate &samplerWindowTemplate();

// The About window's template (IDD_ABOUT).
const DialogTemplate &aboutWindowTemplate();

// The string with that identifier from the string table; empty when none.
QString LoadResourceString(int id);
