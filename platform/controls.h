// Controls of a window, found by signature and number.
#pragma once

#include "types.h"
#include "window.h"

#include <string>

struct ControlID {
    OSType signature;
    std::int32_t id;
};

struct OpaqueControlRef;
using ControlRef = OpaqueControlRef *;

OSStatus GetControlByID(WindowRef window, const ControlID *id, ControlRef *outControl);
// Text of a label or an editable field.
std::string GetControlText(ControlRef control);
OSStatus SetControlText(ControlRef control, const std::string &text);
// The page a text browser shows: a file path, or a bundle path (":/bundle/...").
OSStatus SetControlURL(ControlRef control, const std::string &path);
std::string GetControlURL(ControlRef control);
// Value of a pop-up (item number from 1) or of a check box.
std::int32_t GetControl32BitValue(ControlRef control);
void SetControl32BitValue(ControlRef control, std::int32_t value);
OSStatus EnableControl(ControlRef control);
OSStatus DisableControl(ControlRef control);
Boolean IsControlEnabled(ControlRef control);
void Draw1Control(ControlRef control);
// Gives the control the keyboard focus, with its text selected.
OSStatus SetKeyboardFocus(WindowRef window, ControlRef control);
// Simulates a click on a button or the choice of a pop-up item, as a user would.
OSStatus ClickControl(ControlRef control);
