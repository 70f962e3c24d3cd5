#include "test_images.h"

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <random>

namespace test_images {
namespace {

struct Photo {
    size_t width = 0;
    size_t height = 0;
    std::vector<unsigned char> pixels;  // row by row, as stored
};

Photo readPgm(const std::string& path)
{
    Photo photo;
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    size_t maxValue = 0;
    in >> magic >> photo.width >> photo.height >> maxValue;
    in.get();
    photo.pixels.resize(photo.width * photo.height);
    in.read(reinterpret_cast<char*>(photo.pixels.data()), (std::streamsize)photo.pixels.size());
    if (!in || magic != "P5" || maxValue > 255 || photo.pixels.empty()) {
        fprintf(stderr, "cannot read %s as an 8-bit binary PGM\n", path.c_str());
        abort();
    }
    return photo;
}

}  // namespace

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
        const Photo photo = readPgm(photoPath);
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

}  // namespace test_images
