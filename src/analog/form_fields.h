#pragma once
// Small builders for the field descriptions of the editor forms.
#include <string>

#include "analog/analog_edit_frame.h"

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

}  // namespace lyr::analog::detail
