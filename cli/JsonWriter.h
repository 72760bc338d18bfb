#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zz::cli {

// Builds JSON text with the commas and nesting taken care of: keys and values in order, absent
// values as null. Numbers are written in fixed notation with the decimals given, independent of
// the C locale.
class JsonWriter
{
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The key of the next value inside an object.
    void Key(std::string_view name);

    void Number(double value, int decimals);
    void Number(std::optional<double> value, int decimals);
    void Integer(int64_t value);
    void Integer(uint64_t value);
    void Integer(std::optional<int32_t> value);
    void Bool(bool value);
    void String(std::string_view text);
    void Null();

    const std::string& Text() const { return Buffer; }

private:
    // Puts the comma before a value that follows another in the same object or array.
    void BeforeValue();

    std::string Buffer;
    bool NeedComma = false;
};

} // namespace zz::cli
