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

#include "pgm_image.h"
#include "plugin_loader.h"
#include "standin_host.h"

using namespace test_support;


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

    PgmImage image;
    std::string error;
    if (!test_support::readPgm(args[1], image, error)) {
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
    std::vector<double> values = test_support::columnMajorLevels(image);
    if (unit)
        for (double& value : values)
            value /= 255.0;

    const standin::CallReport report =
        standin::callEntry(plugin.entry(), {standin::doubleMatrix(rows, columns, values)});
    if (!report.completed) {
        std::cerr << "vesk-run: " << report.errorIdentifier << ": " << report.errorMessage << "\n";
        return 1;
    }
    for (const std::string& fault : report.faults)
        std::cerr << "vesk-run: host contract broken: " << fault << "\n";

    const standin::OutputMatrix& map = *report.outputs[0];
    PgmImage mapImage;
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
    if (!test_support::writePgm(args[2], mapImage)) {
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
