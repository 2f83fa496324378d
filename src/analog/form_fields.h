#pragma once
// Small builders for the field descriptions of the editor forms.
#include <string>

#include "analog/analog_edit_frame.h"

namespace lyr::analog::detail {

inline FormField timeField(std::string key, std::string label, std::string symbol, int radio = -1) {
    FormField f;
    f.kind = FieldKind::Time;
    f.key = std::move(key);
    f.label = std::move(label);
    f.symbol = std::move(symbol);
    f.radio = radio;
    return f;
}

inline FormField realField(std::string key, std::string label, std::string symbol, std::string unitText,
                           int radio = -1) {
    FormField f;
    f.kind = FieldKind::Real;
    f.key = std::move(key);
    f.label = std::move(label);
    f.symbol = std::move(symbol);
    f.unitText = std::move(unitText);
    f.radio = radio;
    return f;
}

inline FormField countField(std::string key, std::string label, std::string symbol, std::string unitText) {
    FormField f;
    f.kind = FieldKind::Count;
    f.key = std::move(key);
    f.label = std::move(label);
    f.symbol = std::move(symbol);
    f.unitText = std::move(unitText);
    return f;
}

}  // namespace lyr::analog::detail
