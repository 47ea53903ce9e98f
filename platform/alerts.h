// Note alerts: a message, an explanation and OK.
#pragma once

#include <string>

// Shows the note alert application-modally over the active window and
// returns once the user has answered it. The message and explanation are the
// program's English texts; the alert shows them in the user's language.
void showAlert(const std::string &message, const std::string &explanation);
