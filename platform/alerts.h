// Note alerts: a message, an explanation and OK.
#pragma once

#include <string>

// Shows the alert application-modally and returns once it is answered; the
// English texts are shown in the user's language.
void showAlert(const std::string &message, const std::string &explanation);
