// What the printing tests share: the printed PDF read back with poppler's tools (its text, its page count
// and size, its title, and the page rendered to grey pixels).
#pragma once

#include "tests/app/expected.h"
#include "tests/support/print_driver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace printtest
{

// Output of a shell command.
inline std::string Run(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

inline std::string Quoted(const std::string &path)
{
    return "'" + path + "'";
}

inline std::string PdfText(const std::string &pdf)
{
    return Run("pdftotext -layout " + Quoted(pdf) + " - 2>/dev/null");
}

// One field of pdfinfo ("Pages", "Title", "Page size").
inline std::string PdfInfo(const std::string &pdf, const std::string &field)
{
    const std::string info = Run("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
    const std::string key = "\n" + field + ":";
    const size_t at = ("\n" + info).find(key);
    if (at == std::string::npos)
        return "";
    size_t start = at + key.size() - 1;
    while (start < info.size() && info[start] == ' ')
        ++start;
    return info.substr(start, info.find('\n', start) - start);
}

// A page rendered in grey at 72 dots per inch: one pixel a point.
struct Page {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    int at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    bool dark(int x, int y) const { return at(x, y) < 160; }
    // Any ink at all: a one-point rule half on each of two pixel rows is light grey.
    bool inked(int x, int y) const { return at(x, y) < 240; }
};

inline Page RenderPage(const std::string &pdf)
{
    const std::string base = qrltest::TempFolder() + "/page";
    Run("pdftoppm -r 72 -gray -singlefile " + Quoted(pdf) + " " + Quoted(base));
    Page page;
    std::ifstream in(base + ".pgm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> page.width >> page.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255)
        return Page{};
    page.pixels.resize(size_t(page.width) * size_t(page.height));
    in.read(reinterpret_cast<char *>(page.pixels.data()), std::streamsize(page.pixels.size()));
    return page;
}

inline std::vector<std::string> FilesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

} // namespace printtest
