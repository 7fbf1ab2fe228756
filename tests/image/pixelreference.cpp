#include "image/pixelreference.h"

#include <cstddef>

namespace pigmora::test {

namespace {

std::size_t at(int x, int y, int width, int channel)
{
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4
        + static_cast<std::size_t>(channel);
}

Pixels filled(int width, int height)
{
    Pixels p(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    for (std::size_t i = 0; i < p.size(); i += 4) {
        p[i] = 255;
        p[i + 1] = 255;
        p[i + 2] = 255;
        p[i + 3] = 0;
    }
    return p;
}

struct AxisWeights {
    std::vector<int> source;
    std::vector<float> w0;
    std::vector<float> w1;
    std::vector<bool> split;
};

AxisWeights enlargeWeights(int m, int n)
{
    AxisWeights t;
    long long o = 0;
    int current = 0;
    for (int i = 0; i < n; ++i) {
        t.source.push_back(current);
        if (o + m > n) {
            t.w0.push_back(static_cast<float>(static_cast<double>(n - o) / m));
            t.w1.push_back(static_cast<float>(static_cast<double>(o + m - n) / m));
            t.split.push_back(true);
            ++current;
            o = o + m - n;
        } else if (o + m == n) {
            t.w0.push_back(1.0f);
            t.w1.push_back(0.0f);
            t.split.push_back(false);
            ++current;
            o = 0;
        } else {
            t.w0.push_back(1.0f);
            t.w1.push_back(0.0f);
            t.split.push_back(false);
            o += m;
        }
    }
    return t;
}

// Whether the source pixel at offset o (destination length n, source length
// m) is split, and its two fractions.
bool reduceSplit(long long o, int n, int m, float &f0, float &f1)
{
    if (o + n <= m)
        return false;
    f1 = static_cast<float>(static_cast<double>(o + n - m) / n);
    f0 = 1.0f - f1;
    return true;
}

} // namespace

std::uint8_t referenceGray(int blue, int green, int red)
{
    const long double c114 = 0.114;
    const long double c587 = 0.587;
    const long double c299 = 0.299;
    long double sum = blue * c114;
    sum = sum + green * c587;
    sum = sum + red * c299;
    sum = sum + 0.5L;
    long long v = static_cast<long long>(sum);
    if (v > 255)
        v = 255;
    return static_cast<std::uint8_t>(v);
}

Pixels referenceEnlarge(const Pixels &src, int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    Pixels dst = filled(dstWidth, dstHeight);
    const AxisWeights cols = enlargeWeights(srcWidth, dstWidth);
    const AxisWeights rows = enlargeWeights(srcHeight, dstHeight);
    for (int j = 0; j < dstHeight; ++j) {
        for (int i = 0; i < dstWidth; ++i) {
            const auto ui = static_cast<std::size_t>(i);
            const auto uj = static_cast<std::size_t>(j);
            const int cx = cols.source[ui];
            const int ry = rows.source[uj];
            const float p00 = cols.w0[ui] * rows.w0[uj];
            const float p10 = cols.w1[ui] * rows.w0[uj];
            const float p01 = cols.w0[ui] * rows.w1[uj];
            const float p11 = cols.w1[ui] * rows.w1[uj];
            for (int c = 0; c < 3; ++c) {
                float value = static_cast<float>(src[at(cx, ry, srcWidth, c)]) * p00;
                if (cols.split[ui])
                    value = value + static_cast<float>(src[at(cx + 1, ry, srcWidth, c)]) * p10;
                if (rows.split[uj])
                    value = value + static_cast<float>(src[at(cx, ry + 1, srcWidth, c)]) * p01;
                if (cols.split[ui] && rows.split[uj])
                    value = value + static_cast<float>(src[at(cx + 1, ry + 1, srcWidth, c)]) * p11;
                dst[at(i, j, dstWidth, c)] = static_cast<std::uint8_t>(static_cast<int>(value));
            }
        }
    }
    return dst;
}

Pixels referenceReduce(const Pixels &src, int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    Pixels dst = filled(dstWidth, dstHeight);
    std::vector<float> acc(dst.size(), 0.0f);
    long long ry = 0;
    int ty = 0;
    for (int y = 0; y < srcHeight; ++y) {
        float fy0 = 1.0f;
        float fy1 = 0.0f;
        const bool rowSplit = reduceSplit(ry, dstHeight, srcHeight, fy0, fy1);
        long long cx = 0;
        int tx = 0;
        for (int x = 0; x < srcWidth; ++x) {
            float fx0 = 1.0f;
            float fx1 = 0.0f;
            const bool colSplit = reduceSplit(cx, dstWidth, srcWidth, fx0, fx1);
            for (int c = 0; c < 3; ++c) {
                const auto s = static_cast<float>(src[at(x, y, srcWidth, c)]);
                if (!colSplit && !rowSplit) {
                    acc[at(tx, ty, dstWidth, c)] += s;
                } else if (colSplit && !rowSplit) {
                    acc[at(tx, ty, dstWidth, c)] += s * fx0;
                    acc[at(tx + 1, ty, dstWidth, c)] += s * fx1;
                } else if (!colSplit && rowSplit) {
                    acc[at(tx, ty, dstWidth, c)] += s * fy0;
                    acc[at(tx, ty + 1, dstWidth, c)] += s * fy1;
                } else {
                    acc[at(tx, ty, dstWidth, c)] += s * (fx0 * fy0);
                    acc[at(tx + 1, ty, dstWidth, c)] += s * (fx1 * fy0);
                    acc[at(tx, ty + 1, dstWidth, c)] += s * (fx0 * fy1);
                    acc[at(tx + 1, ty + 1, dstWidth, c)] += s * (fx1 * fy1);
                }
            }
            cx += dstWidth;
            if (cx >= srcWidth)
                cx -= srcWidth;
            if (colSplit || cx == 0)
                ++tx;
        }
        ry += dstHeight;
        if (ry >= srcHeight)
            ry -= srcHeight;
        if (rowSplit || ry == 0)
            ++ty;
    }
    const auto scale = static_cast<float>(static_cast<double>(dstWidth * dstHeight) / (srcWidth * srcHeight));
    for (std::size_t i = 0; i < dst.size(); ++i)
        dst[i] = static_cast<std::uint8_t>(static_cast<int>(acc[i] * scale + 0.5f));
    return dst;
}

Pixels randomPixels(std::mt19937 &random, int width, int height)
{
    Pixels p(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto &b : p)
        b = static_cast<std::uint8_t>(byte(random));
    return p;
}

void makePicture(CImageDibObject &picture, int width, int height, const Pixels &rows)
{
    picture.createFromRows(width, height, 32, {}, rows);
    picture.setState(CImageDibObject::kStateHoldsPicture);
}

Pixels blueRow(std::initializer_list<int> blues)
{
    Pixels p;
    for (int b : blues)
        p.insert(p.end(), {static_cast<std::uint8_t>(b), 0, 0, 0});
    return p;
}

Pixels pixelsOf(const CImageDibObject &picture)
{
    if (!picture.pixels())
        return {};
    return {picture.pixels(), picture.pixels() + picture.pixelBytes()};
}

std::vector<int> bluesOf(const CImageDibObject &picture)
{
    std::vector<int> blues;
    const Pixels p = pixelsOf(picture);
    for (std::size_t i = 0; i < p.size(); i += 4)
        blues.push_back(p[i]);
    return blues;
}

} // namespace pigmora::test
