#pragma once

#include <cstdint>

namespace pigmora {

class CImageDibObject;

// The image engine's pixel converter: fills a picture with one colour, turns
// a picture gray in place and scales one picture into another by area
// averaging. It accepts a source only when it holds a 32-bit picture
// (state 3); every picture it produces is 32-bit in state 3. Refusals are
// reported by the result alone.
class CImageCovert
{
public:
    // Re-creates the picture as width x height at 32 bits with every pixel
    // (b0, b1, b2, b3); state 3. False, leaving the picture as it was, for a
    // size it cannot hold or memory refused.
    bool fillPicture(CImageDibObject &picture, int width, int height, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                     std::uint8_t b3);

    // Gray conversion in place; the fourth byte is kept.
    bool gray(CImageDibObject &picture);

    // Re-creates the target as the source scaled to width x height: enlarge
    // when an axis grows and none shrinks, reduce otherwise (an exact copy of
    // blue, green and red at the same size). A width or height of 0 means 1
    // pixel. Refused: no source block, one axis growing while the other
    // shrinks, a negative or unholdable size. A refused scale leaves the
    // target as it was. Target and source may be the same picture.
    bool scale(CImageDibObject &target, const CImageDibObject &source, int width, int height);

    // The two scaling paths, each with its own refusal of the wrong
    // direction (enlarge needs width >= source width and height >= source
    // height; reduce the opposite).
    bool enlarge(CImageDibObject &target, const CImageDibObject &source, int width, int height);
    bool reduce(CImageDibObject &target, const CImageDibObject &source, int width, int height);

private:
    enum class Direction { Enlarge, Reduce };
    bool resample(CImageDibObject &target, const CImageDibObject &source, int width, int height, Direction direction);
};

} // namespace pigmora
