#include "rendered_image.h"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace csv2pnp::test {

std::array<int, 3> Image::at(int x, int y) const {
    std::size_t i = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
    return {static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
            static_cast<unsigned char>(rgb[i + 2])};
}

bool canRender() {
#ifdef _WIN32
    return false;
#else
    return std::system("command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null") == 0;
#endif
}

Image rendered(const std::string& svgFile) {
    const std::string command = "rsvg-convert '" + svgFile + "' -o '" + svgFile + ".png' && pngtopnm '" + svgFile +
                                ".png' >'" + svgFile + ".ppm'";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "could not render " << svgFile;
        return {};
    }
    return readPpm(readFile(svgFile + ".ppm"));
}

Image readPpm(const std::string& bytes) {
    Image image;
    int maxValue = 0, consumed = 0;
    std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &maxValue, &consumed);
    image.rgb = bytes.substr(static_cast<std::size_t>(consumed) + 1);
    EXPECT_EQ(maxValue, 255);
    EXPECT_EQ(image.rgb.size(), 3u * static_cast<std::size_t>(image.width * image.height));
    return image;
}

std::array<int, 3> rgbOf(const std::string& hex) {
    unsigned value = static_cast<unsigned>(std::stoul(hex.substr(1), nullptr, 16));
    return {static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xff), static_cast<int>(value & 0xff)};
}

}  // namespace csv2pnp::test
