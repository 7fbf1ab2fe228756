#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pigmora::cli {

// Builds one JSON value as text. Callers emit keys and values in order; the
// writer takes care of commas, quoting and escaping.
class JsonWriter
{
public:
    JsonWriter &beginObject();
    JsonWriter &endObject();
    JsonWriter &beginArray();
    JsonWriter &endArray();
    JsonWriter &key(std::string_view name);
    JsonWriter &value(std::string_view text);
    JsonWriter &value(const char *text) { return value(std::string_view(text)); }
    JsonWriter &value(std::int64_t number);
    JsonWriter &value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter &value(bool flag);
    // Numbers with a fixed count of significant digits (9 round-trips a
    // float, 17 a double).
    JsonWriter &number(double number, int significantDigits);
    // A number with a fixed count of decimals; a value that rounds to zero
    // is written without a minus sign.
    JsonWriter &fixed(double number, int decimals);
    JsonWriter &null();

    const std::string &text() const { return m_text; }

private:
    void separate();

    std::string m_text;
    bool m_needComma = false;
};

} // namespace pigmora::cli
