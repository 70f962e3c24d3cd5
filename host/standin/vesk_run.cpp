// vesk-run: runs a plug-in through the stand-in host on an 8-bit PGM image.
//
//   vesk-run PLUGIN INPUT.pgm MAP.pgm SECOND.txt [--unit]
//
// The image's grey levels 0..255 are passed as doubles (divided by 255 with
// --unit, for plug-ins that take intensities 0..1). The first output is
// written as a PGM (0..1 to 0..255, or -1..1 to 0..255 with --unit), the
// second as text, one value a line.
#include <math.h>
#include <stdio.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "plugin_loader.h"
#include "standin_host.h"

namespace {

struct GreyImage {
    size_t width = 0;
    size_t height = 0;
    std::vector<unsigned char> pixels;  // row by row
};

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

bool readPgm(const std::string& path, GreyImage& image, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic, width, height, maxValue;
    if (!in || !readToken(in, magic) || magic != "P5" || !readToken(in, width) ||
        !readToken(in, height) || !readToken(in, maxValue)) {
        error = path + ": not a binary PGM (P5) image";
        return false;
    }
    image.width = std::stoul(width);
    image.height = std::stoul(height);
    if (std::stoul(maxValue) > 255) {
        error = path + ": only 8-bit PGM images are read";
        return false;
    }
    in.get();  // the single white-space byte before the pixels
    image.pixels.resize(image.width * image.height);
    in.read(reinterpret_cast<char*>(image.pixels.data()), (std::streamsize)image.pixels.size());
    if (!in) {
        error = path + ": the image data is shorter than its header says";
        return false;
    }
    return true;
}

bool writePgm(const std::string& path, const GreyImage& image)
{
    std::ofstream out(path, std::ios::binary);
    out << "P5\n" << image.width << ' ' << image.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()), (std::streamsize)image.pixels.size());
    return (bool)out;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool unit = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--unit") {
            unit = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    if (args.size() != 4) {
        std::cerr << "usage: vesk-run PLUGIN INPUT.pgm MAP.pgm SECOND.txt [--unit]\n";
        return 2;
    }

    GreyImage image;
    std::string error;
    if (!readPgm(args[1], image, error)) {
        std::cerr << "vesk-run: " << error << "\n";
        return 1;
    }
    standin::PluginLibrary plugin(args[0]);
    if (plugin.entry() == nullptr) {
        std::cerr << "vesk-run: " << plugin.error() << "\n";
        return 1;
    }

    // PGM rows become matrix rows; the host stores column by column.
    const size_t rows = image.height, columns = image.width;
    std::vector<double> values(rows * columns);
    for (size_t r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c)
            values[c * rows + r] = unit ? image.pixels[r * columns + c] / 255.0
                                        : (double)image.pixels[r * columns + c];

    const standin::CallReport report =
        standin::callEntry(plugin.entry(), {standin::doubleMatrix(rows, columns, values)});
    if (!report.completed) {
        std::cerr << "vesk-run: " << report.errorIdentifier << ": " << report.errorMessage << "\n";
        return 1;
    }
    for (const std::string& fault : report.faults)
        std::cerr << "vesk-run: host contract broken: " << fault << "\n";

    const standin::OutputMatrix& map = *report.outputs[0];
    GreyImage mapImage;
    mapImage.width = columns;
    mapImage.height = rows;
    mapImage.pixels.resize(rows * columns);
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < columns; ++c) {
            const double value = map.values[c * rows + r];
            const double scaled = unit ? (value + 1.0) / 2.0 : value;
            mapImage.pixels[r * columns + c] = (unsigned char)lround(scaled * 255.0);
        }
    }
    if (!writePgm(args[2], mapImage)) {
        std::cerr << "vesk-run: cannot write " << args[2] << "\n";
        return 1;
    }

    FILE* second = fopen(args[3].c_str(), "w");
    if (second == nullptr) {
        std::cerr << "vesk-run: cannot write " << args[3] << "\n";
        return 1;
    }
    for (double value : report.outputs[1]->values)
        fprintf(second, "%.17g\n", value);
    fclose(second);
    return report.faults.empty() ? 0 : 1;
}
