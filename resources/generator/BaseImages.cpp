#include "ImageSpec.hpp"

namespace quorvel::art {

// Placeholder set so the bundle builds; the full collection replaces it.
std::vector<ImageSpec> allImages()
{
    return {ImageSpec{"empty.png", 1, 1, [](cairo_t*, double, double) {}}};
}

}  // namespace quorvel::art
