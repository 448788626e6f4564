#include "support/support_jpeg.h"

#include <algorithm>
#include <stdexcept>

#include "jpeg_writer.h"

std::string support_jpeg(int width, int height, int components, int quality, const SupportPixel& pixel,
                         bool subsampled)
{
    // Gather every row first, so a wrong pixel function throws before the
    // library has allocated anything.
    std::vector<uint8_t> samples(size_t(width) * size_t(height) * size_t(components));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::vector<uint8_t> value = pixel(x, y);
            if (value.size() != size_t(components))
                throw std::logic_error("support_jpeg: pixel gave " + std::to_string(value.size()) +
                                       " components, expected " + std::to_string(components));
            std::copy(value.begin(), value.end(), samples.begin() + (size_t(y) * width + x) * components);
        }

    JpegSettings settings;
    settings.width = width;
    settings.height = height;
    settings.components = components;
    settings.quality = quality;
    settings.subsampled = subsampled;
    std::string error;
    const std::vector<uint8_t> bytes = jpeg_write(settings, samples.data(), error);
    if (bytes.empty())
        throw std::logic_error("support_jpeg: " + error);
    return std::string(bytes.begin(), bytes.end());
}
