#pragma once
// Small builders for the field descriptions of the editor forms.
#include <cstdint>
#include <string>
#include <vector>

#include "analog/analog_edit_frame.h"
#include "document/quantities.h"

namespace lyr::analog::detail {

inline FormField field(FieldKind kind, std::string key, std::string label, std::string symbol,
                       std::string unitText = {}, int radio = -1) {
    FormField f;
    f.kind = kind;
    f.key = std::move(key);
    f.label = std::move(label);
    f.symbol = std::move(symbol);
    f.unitText = std::move(unitText);
    f.radio = radio;
    return f;
}

inline FormField timeField(std::string key, std::string label, std::string symbol, int radio = -1) {
    return field(FieldKind::Time, std::move(key), std::move(label), std::move(symbol), {}, radio);
}

inline FormField realField(std::string key, std::string label, std::string symbol, std::string unitText,
                           int radio = -1) {
    return field(FieldKind::Real, std::move(key), std::move(label), std::move(symbol), std::move(unitText), radio);
}

inline FormField countField(std::string key, std::string label, std::string symbol, std::string unitText) {
    return field(FieldKind::Count, std::move(key), std::move(label), std::move(symbol), std::move(unitText));
}

// Field readers shared by every editor form: parse the text into the value
// (0, or 1 for counts, when it does not read) and return whether it read.
inline bool readTime(FormField& field) {
    std::int64_t v = 0;
    const bool ok = field.unit != document::kUnitNone && document::parseTime(field.text, field.unit, v);
    field.time = ok ? v : 0;
    return ok;
}

inline bool readCount(FormField& field) {
    std::uint32_t v = 0;
    const bool ok = document::parseUnsigned(field.text, v);
    field.count = ok ? v : 1;
    return ok;
}

// Writes a time into a field in its unit; an unset unit gives an empty field.
inline void writeTime(FormField& field, std::int64_t value, int unit) {
    field.time = value;
    std::string text;
    if (!document::formatTimeIn(value, unit, text)) text.clear();
    field.text = text;
}

inline void setValid(FormField& field, bool valid) {
    field.valid = valid;
    field.markerShown = !valid;
}

}  // namespace lyr::analog::detail

namespace lyr::analog {

// One time moved onto the sampling grid, for the message that names it.
struct GridAdjustment {
    std::string fieldName;  // "期間", "レベル 1：時間"
    std::string typed;      // the text as entered
    int unit = -1;
    std::string adjusted;   // the new value in the same unit
};

// "サンプリング時間の整数倍にするため、[a] [b] を調節します。\n" and, for each
// adjustment, "\n" typed unit "　→　" adjusted unit.
std::string gridAdjustMessage(const std::vector<GridAdjustment>& adjustments);

}  // namespace lyr::analog
