#include "cli/colorarg.h"

#include <charconv>
#include <cmath>

namespace pigmora::cli {

std::optional<int> parseInt(std::string_view text, int low, int high)
{
    if (text.empty() || text.size() > 11 || (text[0] == '-' && low >= 0))
        return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::vector<int>> parseIntList(std::string_view text, std::size_t count, int low, int high)
{
    std::vector<int> numbers;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i + 1 == count))
            return std::nullopt;
        const auto number = parseInt(text.substr(0, comma), low, high);
        if (!number)
            return std::nullopt;
        numbers.push_back(*number);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return numbers;
}

std::optional<RgbColor> parseColor(std::string_view text)
{
    if (text.size() == 7 && text[0] == '#') {
        int channels[3];
        for (int i = 0; i < 3; ++i) {
            const std::string_view hex = text.substr(1 + 2 * i, 2);
            const auto [end, ec] = std::from_chars(hex.data(), hex.data() + 2, channels[i], 16);
            if (ec != std::errc() || end != hex.data() + 2 || hex[0] == '-' || hex[0] == '+')
                return std::nullopt;
        }
        return RgbColor{channels[0], channels[1], channels[2]};
    }
    int channels[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string_view::npos)
            return std::nullopt;
        const auto value = parseInt(text.substr(start, comma - start), 0, 255);
        if (!value)
            return std::nullopt;
        channels[i] = *value;
        start = comma + 1;
    }
    return RgbColor{channels[0], channels[1], channels[2]};
}

} // namespace pigmora::cli

namespace pigmora::cli {

std::optional<double> parsePositiveNumber(std::string_view text)
{
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)
        || !(value > 0.0))
        return std::nullopt;
    return value;
}

} // namespace pigmora::cli
