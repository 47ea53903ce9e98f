// Page Setup and Print answered as a user does it.
#pragma once

#include <string>

namespace qrltest
{

// Paper (Qt's key: "A4", "Letter"), orientation and margins in points.
struct PageChoice {
    std::string paper = "A4";
    bool landscape = false;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};
struct ShownPrint { // what a print dialog showed: the PDF file it proposed
    std::string outputFile;
};

// Page Setup on the front window, confirmed with the choice; what it started from.
PageChoice SetUpPage(const PageChoice &choice);
// Print on the front window into pdf (empty: the file proposed), pages firstPage to lastPage (0: all).
ShownPrint PrintTo(const std::string &pdf, int firstPage = 0, int lastPage = 0);

} // namespace qrltest
