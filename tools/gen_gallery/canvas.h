// The gallery texture generator paints with the asset generator's canvas
// (tools/gen_assets/image.h): the gallery's names for its parts.
#pragma once

#include <utility>

#include "tools/gen_assets/image.h"

namespace gallery {

using gen::circle;
using gen::hex;
using gen::mix;
using gen::Paint;
using gen::Rgba;
using gen::roundRect;
using gen::segment;
using gen::solid;
using gen::vertical;
using Shape = gen::Sdf;
using Canvas = gen::Image;

// The band of the given half width around a shape's outline.
inline Shape outline(Shape shape, float halfWidth)
{
    return gen::ring(std::move(shape), halfWidth);
}

} // namespace gallery
