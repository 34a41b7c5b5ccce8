#include "platform/gui/font_configuration.h"

#include <fontconfig/fontconfig.h>

namespace quorvel {

FontConfigurationReader::FontConfigurationReader() : thread_([] { FcInit(); }) {}

FontConfigurationReader::~FontConfigurationReader() { Wait(); }

void FontConfigurationReader::Wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace quorvel
