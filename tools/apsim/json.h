// A small JSON reader and writer for the emulator's configuration and state files.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace apsim {

class JsonValue
{
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    JsonValue() = default;
    static JsonValue MakeBool(bool b);
    static JsonValue MakeNumber(double n);
    static JsonValue MakeString(std::string s);
    static JsonValue MakeArray();
    static JsonValue MakeObject();

    Kind GetKind() const { return m_kind; }
    bool IsNull() const { return m_kind == Kind::Null; }
    bool IsBool() const { return m_kind == Kind::Bool; }
    bool IsNumber() const { return m_kind == Kind::Number; }
    bool IsString() const { return m_kind == Kind::String; }
    bool IsArray() const { return m_kind == Kind::Array; }
    bool IsObject() const { return m_kind == Kind::Object; }

    bool AsBool() const { return m_bool; }
    double AsNumber() const { return m_number; }
    const std::string& AsString() const { return m_string; }
    const std::vector<JsonValue>& Items() const { return m_items; }
    // Object members in file order.
    const std::vector<std::pair<std::string, JsonValue>>& Members() const { return m_members; }

    // Object member by name, or nullptr.
    const JsonValue* Find(std::string_view key) const;

    // Building.
    JsonValue& Push(JsonValue v); // array
    JsonValue& Set(std::string key, JsonValue v); // object (replaces an existing member)

    // Compact text when indent < 0, otherwise pretty-printed.
    std::string Dump(int indent = -1) const;

private:
    void DumpTo(std::string& out, int indent, int depth) const;

    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    std::vector<JsonValue> m_items;
    std::vector<std::pair<std::string, JsonValue>> m_members;
};

// Parses a whole document. On failure returns false and sets error ("line N: ...").
bool ParseJson(std::string_view text, JsonValue& out, std::string& error);

// Reads a file and parses it.
bool ReadJsonFile(const std::string& path, JsonValue& out, std::string& error);

// Writes text to a file atomically (temporary file beside it, then rename).
bool WriteFileAtomic(const std::string& path, const std::string& text);

} // namespace apsim
