#include "cli/json.h"

#include <cmath>
#include <cstdio>

namespace pigmora::cli {

void JsonWriter::separate()
{
    if (m_needComma)
        m_text += ',';
    m_needComma = true;
}

JsonWriter &JsonWriter::beginObject()
{
    separate();
    m_text += '{';
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::endObject()
{
    m_text += '}';
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::beginArray()
{
    separate();
    m_text += '[';
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::endArray()
{
    m_text += ']';
    m_needComma = true;
    return *this;
}

JsonWriter &JsonWriter::key(std::string_view name)
{
    value(name);
    m_text += ':';
    m_needComma = false;
    return *this;
}

JsonWriter &JsonWriter::value(std::string_view text)
{
    separate();
    m_text += '"';
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            m_text += "\\\"";
            break;
        case '\\':
            m_text += "\\\\";
            break;
        case '\n':
            m_text += "\\n";
            break;
        case '\r':
            m_text += "\\r";
            break;
        case '\t':
            m_text += "\\t";
            break;
        default:
            if (u < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
                m_text += escaped;
            } else {
                m_text += c;
            }
        }
    }
    m_text += '"';
    return *this;
}

JsonWriter &JsonWriter::value(std::int64_t number)
{
    separate();
    m_text += std::to_string(number);
    return *this;
}

JsonWriter &JsonWriter::value(bool flag)
{
    separate();
    m_text += flag ? "true" : "false";
    return *this;
}

JsonWriter &JsonWriter::number(double number, int significantDigits)
{
    if (!std::isfinite(number))
        return null();
    separate();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, number);
    m_text += buffer;
    return *this;
}

JsonWriter &JsonWriter::fixed(double number, int decimals)
{
    if (!std::isfinite(number))
        return null();
    separate();
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, number);
    const std::string text(buffer);
    const bool zero = text.find_first_not_of("-0.") == std::string::npos;
    m_text += zero && text[0] == '-' ? text.substr(1) : text;
    return *this;
}

JsonWriter &JsonWriter::null()
{
    separate();
    m_text += "null";
    return *this;
}

} // namespace pigmora::cli
