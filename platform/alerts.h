// Standard note alerts: message, explanation and an OK button.
#pragma once

#include "types.h"

#include <string>

using AlertType = std::int16_t;
enum : AlertType { kAlertStopAlert = 0, kAlertNoteAlert = 1, kAlertCautionAlert = 2, kAlertPlainAlert = 3 };

struct AlertStdAlertParamRec {
    Boolean movable = false;
};

// Runs the alert modally; returns once the user has answered it. The
// message and explanation are the program's English texts; the alert shows
// them in the user's language (CopyLocalizedText).
OSStatus StandardAlert(AlertType type, const std::string &message, const std::string &explanation,
                       const AlertStdAlertParamRec *params = nullptr, std::int16_t *outItemHit = nullptr);
