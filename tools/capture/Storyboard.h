#pragma once

#include "Png.h"

#include <string>

// A contact sheet: frames halved to 320 x 240, in rows of `columns`, each
// with its label in a strip beneath it, on a dark background.
class Storyboard
{
public:
    static constexpr unsigned THUMB_WIDTH = 320;
    static constexpr unsigned THUMB_HEIGHT = 240;
    static constexpr unsigned MARGIN = 12;
    static constexpr unsigned LABEL_HEIGHT = 26;

    Storyboard(int pictures, int columns);

    // Places picture `index` (a 640 x 480 frame) with its label.
    void place(int index, const RgbImage& frame, const std::string& label);

    // The top-left corner of picture `index`'s thumbnail on the sheet.
    unsigned thumbLeft(int index) const;
    unsigned thumbTop(int index) const;

    const RgbImage& sheet() const { return image; }

    static const unsigned char BACKGROUND[3];
    static const unsigned char INK[3];

private:
    void drawText(unsigned left, unsigned top, const std::string& text);

    int columns;
    RgbImage image;
};
