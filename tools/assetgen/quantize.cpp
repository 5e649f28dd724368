#include "quantize.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace {

struct ColourCount
{
    QRgb colour;
    int count;
};

using Box = std::vector<ColourCount>;

int channel(QRgb colour, int which)
{
    switch (which) {
    case 0:
        return qRed(colour);
    case 1:
        return qGreen(colour);
    default:
        return qBlue(colour);
    }
}

std::vector<ColourCount> histogram(const std::vector<QRgb> &pixels)
{
    std::map<QRgb, int> counts;
    for (const QRgb pixel : pixels)
        ++counts[pixel | 0xff000000u];
    std::vector<ColourCount> result;
    result.reserve(counts.size());
    for (const auto &[colour, count] : counts)
        result.push_back({colour, count});
    return result;
}

// The channel with the widest spread in the box and that spread.
std::pair<int, int> widestChannel(const Box &box)
{
    int bestChannel = 0;
    int bestRange = -1;
    for (int which = 0; which < 3; ++which) {
        const auto [low, high] = std::minmax_element(
            box.begin(), box.end(), [which](const ColourCount &a, const ColourCount &b) {
                return channel(a.colour, which) < channel(b.colour, which);
            });
        const int range = channel(high->colour, which) - channel(low->colour, which);
        if (range > bestRange) {
            bestRange = range;
            bestChannel = which;
        }
    }
    return {bestChannel, bestRange};
}

double splitPriority(const Box &box)
{
    if (box.size() < 2)
        return -1.0;
    int pixels = 0;
    for (const ColourCount &entry : box)
        pixels += entry.count;
    return widestChannel(box).second * std::sqrt(static_cast<double>(pixels));
}

std::pair<Box, Box> splitBox(Box box)
{
    const int which = widestChannel(box).first;
    std::sort(box.begin(), box.end(), [which](const ColourCount &a, const ColourCount &b) {
        const int ca = channel(a.colour, which);
        const int cb = channel(b.colour, which);
        return ca != cb ? ca < cb : a.colour < b.colour;
    });
    int total = 0;
    for (const ColourCount &entry : box)
        total += entry.count;
    int running = 0;
    size_t cut = 1;
    for (size_t i = 0; i + 1 < box.size(); ++i) {
        running += box[i].count;
        cut = i + 1;
        if (running * 2 >= total)
            break;
    }
    return {Box(box.begin(), box.begin() + static_cast<std::ptrdiff_t>(cut)),
            Box(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end())};
}

QRgb meanColour(const std::vector<ColourCount> &entries)
{
    std::array<double, 3> sum {};
    double weight = 0.0;
    for (const ColourCount &entry : entries) {
        for (int which = 0; which < 3; ++which)
            sum[which] += channel(entry.colour, which) * static_cast<double>(entry.count);
        weight += entry.count;
    }
    if (weight == 0.0)
        return qRgb(0, 0, 0);
    return qRgb(static_cast<int>(std::lround(sum[0] / weight)),
                static_cast<int>(std::lround(sum[1] / weight)),
                static_cast<int>(std::lround(sum[2] / weight)));
}

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Moves each palette colour to the mean of the colours nearest to it.
Palette refine(const std::vector<ColourCount> &colours, Palette palette)
{
    for (int round = 0; round < 4; ++round) {
        std::vector<std::vector<ColourCount>> members(palette.size());
        for (const ColourCount &entry : colours)
            members[static_cast<size_t>(nearestIndex(palette, entry.colour))].push_back(entry);
        for (size_t i = 0; i < palette.size(); ++i) {
            if (!members[i].empty())
                palette[i] = meanColour(members[i]);
        }
    }
    return palette;
}

} // namespace

Palette windowsPalette16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

Palette choosePalette(const std::vector<QRgb> &pixels, int maxColours)
{
    const std::vector<ColourCount> colours = histogram(pixels);
    if (colours.size() <= static_cast<size_t>(maxColours)) {
        Palette exact;
        for (const ColourCount &entry : colours)
            exact.push_back(entry.colour);
        return exact;
    }
    std::vector<Box> boxes {colours};
    while (boxes.size() < static_cast<size_t>(maxColours)) {
        auto best = boxes.begin();
        for (auto it = boxes.begin(); it != boxes.end(); ++it) {
            if (splitPriority(*it) > splitPriority(*best))
                best = it;
        }
        if (splitPriority(*best) < 0.0)
            break;
        auto [first, second] = splitBox(*best);
        *best = std::move(first);
        boxes.push_back(std::move(second));
    }
    Palette palette;
    for (const Box &box : boxes)
        palette.push_back(meanColour(box));
    palette = refine(colours, palette);
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

int nearestIndex(const Palette &palette, QRgb colour)
{
    int best = 0;
    int bestDistance = distance(palette.front(), colour);
    for (size_t i = 1; i < palette.size(); ++i) {
        const int d = distance(palette[i], colour);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<uint8_t> mapToPalette(const QImage &image, const Palette &palette)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint8_t> indices;
    indices.reserve(static_cast<size_t>(rgb.width()) * static_cast<size_t>(rgb.height()));
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x)
            indices.push_back(static_cast<uint8_t>(nearestIndex(palette, rgb.pixel(x, y))));
    }
    return indices;
}
