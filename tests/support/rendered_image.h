// An SVG drawn by a real renderer (rsvg-convert), its pixels read back.
#pragma once

#include <array>
#include <string>

namespace csv2pnp::test {

struct Image {
    int width = 0, height = 0;
    std::string rgb;

    std::array<int, 3> at(int x, int y) const;
};

// Whether rsvg-convert (librsvg2-bin) and pngtopnm (netpbm) are there to render with.
bool canRender();

// The SVG file rendered to a PNG and a PPM beside it, and the PPM read; an image of no pixels
// when the renderer fails.
Image rendered(const std::string& svgFile);

// A binary PPM as pngtopnm writes it.
Image readPpm(const std::string& bytes);

// "#rrggbb" as its channels.
std::array<int, 3> rgbOf(const std::string& hex);

}  // namespace csv2pnp::test
