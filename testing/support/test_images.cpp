#include "test_images.h"

#include <stdio.h>
#include <stdlib.h>

#include <random>

#include "pgm_image.h"

namespace test_support::test_images {

const char* nameOf(Kind kind)
{
    switch (kind) {
    case Kind::Random: return "random";
    case Kind::Uniform: return "uniform";
    case Kind::Photo: return "photo";
    }
    return "?";
}

std::vector<double> greyLevels(Kind kind, size_t rows, size_t columns, const std::string& photoPath)
{
    std::vector<double> image(rows * columns);
    if (kind == Kind::Random) {
        std::mt19937 generator(20261210);
        std::uniform_int_distribution<int> level(0, 255);
        for (double& value : image)
            value = level(generator);
    } else if (kind == Kind::Uniform) {
        for (double& value : image)
            value = 77.0;
    } else {
        test_support::PgmImage photo;
        std::string error;
        if (!test_support::readPgm(photoPath, photo, error)) {
            fprintf(stderr, "%s\n", error.c_str());
            abort();
        }
        for (size_t c = 0; c < columns; ++c)
            for (size_t r = 0; r < rows; ++r)
                image[c * rows + r] =
                    photo.pixels[(r * photo.height / rows) * photo.width + c * photo.width / columns];
    }
    return image;
}

std::vector<double> intensities(const std::vector<double>& levels)
{
    std::vector<double> image(levels.size());
    for (size_t k = 0; k < levels.size(); ++k)
        image[k] = levels[k] / 255.0;
    return image;
}

}  // namespace test_support::test_images
