// Standard note alerts: message, explanation and an OK button.
#pragma once

#include "types.h"

#include <string>

using AlertType = std::int16_t;
enum : AlertType { kAlertNoteAlert = 1 };

struct AlertStdAlertParamRec {
    Boolean movable = false;
};

// Runs the alert modally; returns once the user has answered it. The
// message and explanation are the program's English texts; the alert shows
// them in the user's language (the context "Program" of the translations).
OSStatus StandardAlert(AlertType type, const std::string &message, const std::string &explanation,
                       const AlertStdAlertParamRec *params = nullptr);
