#include "cli/JsonWriter.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace zz::cli {

void JsonWriter::BeforeValue()
{
    if (NeedComma) {
        Buffer += ", ";
    }
    NeedComma = true;
}

void JsonWriter::BeginObject()
{
    BeforeValue();
    Buffer += '{';
    NeedComma = false;
}

void JsonWriter::EndObject()
{
    Buffer += '}';
    NeedComma = true;
}

void JsonWriter::BeginArray()
{
    BeforeValue();
    Buffer += '[';
    NeedComma = false;
}

void JsonWriter::EndArray()
{
    Buffer += ']';
    NeedComma = true;
}

void JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    Buffer += '"';
    Buffer += name;
    Buffer += "\": ";
    NeedComma = false;
}

void JsonWriter::Number(double value, int decimals)
{
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    std::array<char, 64> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    Buffer.append(text.data(), result.ptr);
}

void JsonWriter::Number(std::optional<double> value, int decimals)
{
    if (value) {
        Number(*value, decimals);
    } else {
        Null();
    }
}

void JsonWriter::Integer(int64_t value)
{
    BeforeValue();
    Buffer += std::to_string(value);
}

void JsonWriter::Integer(uint64_t value)
{
    BeforeValue();
    Buffer += std::to_string(value);
}

void JsonWriter::Integer(std::optional<int32_t> value)
{
    if (value) {
        Integer(static_cast<int64_t>(*value));
    } else {
        Null();
    }
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    Buffer += value ? "true" : "false";
}

void JsonWriter::String(std::string_view text)
{
    BeforeValue();
    Buffer += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            Buffer += '\\';
            Buffer += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            std::array<char, 8> escaped;
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
            Buffer += escaped.data();
        } else {
            Buffer += c;
        }
    }
    Buffer += '"';
}

void JsonWriter::Null()
{
    BeforeValue();
    Buffer += "null";
}

} // namespace zz::cli
