#pragma once
// A small JSON value for lyrtool's machine-readable output: objects keep their
// keys in insertion order so that the output is stable.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace lyrtool {

class Json {
public:
    using Object = std::vector<std::pair<std::string, Json>>;
    using Array = std::vector<Json>;

    Json() = default;  // null
    Json(bool b) : v_(b) {}
    Json(int i) : v_(static_cast<std::int64_t>(i)) {}
    Json(std::int64_t i) : v_(i) {}
    Json(std::uint32_t u) : v_(static_cast<std::int64_t>(u)) {}
    Json(std::uint64_t u) : v_(u) {}
    Json(double d) : v_(d) {}
    Json(const char* s) : v_(std::string(s)) {}
    Json(std::string s) : v_(std::move(s)) {}
    Json(Array a) : v_(std::move(a)) {}
    Json(Object o) : v_(std::move(o)) {}

    static Json object() { return Json(Object{}); }
    static Json array() { return Json(Array{}); }

    // Appends to an object (keys are not checked for repeats).
    Json& set(const std::string& key, Json value);
    // Appends to an array.
    Json& push(Json value);

    // Two-space indentation, one member per line; doubles with 17 significant
    // digits so they read back to the same value; NaN and infinities as null.
    std::string dump() const;

    // "key: value" lines, nested keys joined with "." (outputSettings.repeatCount),
    // arrays of plain values on one line as JSON, top-level strings as they are.
    std::string listing() const;

    bool isContainer() const {
        return std::holds_alternative<Array>(v_) || std::holds_alternative<Object>(v_);
    }

private:
    void write(std::string& out, int indent) const;
    void list(std::string& out, const std::string& prefix) const;
    std::variant<std::monostate, bool, std::int64_t, std::uint64_t, double, std::string, Array, Object> v_;
};

// The text of a double that reads back to the same value ("%.17g").
std::string exactDouble(double d);

}  // namespace lyrtool
