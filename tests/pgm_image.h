// Reads an 8-bit binary PGM (P5) as the stand-in host's column-major input.
#ifndef VESK_TESTS_PGM_IMAGE_H
#define VESK_TESTS_PGM_IMAGE_H

#include <string>

#include "standin_host.h"

namespace testing_support {

// Grey levels 0..255 as doubles; PGM rows become matrix rows. Fails the
// current test when the file is no such image.
standin::InputMatrix readPgm(const std::string& path);

}  // namespace testing_support

#endif
