#include "pgm_image.h"

#include <ctype.h>

#include <fstream>

namespace test_support {
namespace {

// The next header token, skipping white space and # comments.
bool readToken(std::istream& in, std::string& token)
{
    token.clear();
    int c;
    while ((c = in.get()) != EOF) {
        if (c == '#') {
            while ((c = in.get()) != EOF && c != '\n') {
            }
        } else if (!isspace(c)) {
            token.push_back((char)c);
            break;
        }
    }
    while ((c = in.peek()) != EOF && !isspace(c))
        token.push_back((char)in.get());
    return !token.empty();
}

bool isNumber(const std::string& token)
{
    if (token.empty() || token.size() > 9)
        return false;
    for (char c : token)
        if (!isdigit((unsigned char)c))
            return false;
    return true;
}

}  // namespace

bool readPgm(const std::string& path, PgmImage& image, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic, width, height, maxValue;
    if (!in || !readToken(in, magic) || magic != "P5" || !readToken(in, width) ||
        !readToken(in, height) || !readToken(in, maxValue) || !isNumber(width) ||
        !isNumber(height) || !isNumber(maxValue)) {
        error = path + ": not a binary PGM (P5) image";
        return false;
    }
    if (std::stoul(maxValue) > 255) {
        error = path + ": only 8-bit PGM images are read";
        return false;
    }
    image.width = std::stoul(width);
    image.height = std::stoul(height);
    in.get();  // the single white-space byte before the pixels
    image.pixels.resize(image.width * image.height);
    in.read(reinterpret_cast<char*>(image.pixels.data()), (std::streamsize)image.pixels.size());
    if (!in) {
        error = path + ": the image data is shorter than its header says";
        return false;
    }
    return true;
}

bool writePgm(const std::string& path, const PgmImage& image)
{
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()), (std::streamsize)image.pixels.size());
    return (bool)out;
}

std::vector<double> columnMajorLevels(const PgmImage& image)
{
    const size_t rows = image.height, columns = image.width;
    std::vector<double> levels(rows * columns);
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c)
            levels[c * rows + r] = image.pixels[r * columns + c];
    return levels;
}

}  // namespace test_support
