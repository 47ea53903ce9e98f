// The sheet's English labels by a short name, for the printing tests; the
// application tests name them as shown.
#pragma once

#include "tests/support/app_driver.h"
#include "tests/support/optics.h"

#include <map>
#include <string>
#include <vector>

namespace expected
{

// What the sheet shows in English for a label, by a short name.
inline std::string Label(const std::string &key)
{
    static const std::map<std::string, std::string> labels = {
        {"focal", "Focal length:"},
        {"distance", "Distance:"},
        {"distancemeter", "Dist. (m):"},
        {"distancefeet", "Dist. (ft):"},
        {"unsharpcircle", "Conf. circle (\u00b5m):"},
        {"camera", "Camera:"},
        {"aperture", "Aperture"},
        {"neardistance", "Near limit"},
        {"neardistancemeter", "Near limit (m)"},
        {"neardistancefeet", "Near limit (ft)"},
        {"fardistance", "Far limit"},
        {"fardistancemeter", "Far limit (m)"},
        {"fardistancefeet", "Far limit (ft)"},
        {"apsc", "APS-C digital"},
        {"fullframe", "Full-frame digital"},
        {"kleinbild", "35 mm film"},
        {"mediumformat", "Medium format"},
        {"digitalCamera", "Digital camera"},
    };
    return labels.at(key);
}

} // namespace expected
