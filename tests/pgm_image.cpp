#include "pgm_image.h"

#include <fstream>
#include <vector>

#include <gtest/gtest.h>

namespace testing_support {

standin::InputMatrix readPgm(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    size_t width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    std::vector<unsigned char> pixels(width * height);
    in.read(reinterpret_cast<char*>(pixels.data()), (std::streamsize)pixels.size());
    if (!in || magic != "P5" || maxValue > 255 || pixels.empty())
        ADD_FAILURE() << "cannot read " << path << " as an 8-bit binary PGM";
    std::vector<double> values(width * height);
    for (size_t r = 0; r < height; ++r)
        for (size_t c = 0; c < width; ++c)
            values[c * height + r] = pixels[r * width + c];
    return standin::doubleMatrix(height, width, values);
}

}  // namespace testing_support
