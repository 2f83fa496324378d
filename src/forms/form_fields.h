#pragma once
// The fields of the editor forms: what a field is and holds, the builders of
// their descriptions, the readers and writers of their texts, and the
// message that names the times moved onto the sampling grid.
#include <cstdint>
#include <string>
#include <vector>

#include "document/quantities.h"

namespace lyr::forms {

enum class FieldKind {
    Time,     // text + unit box (nS, uS, mS, S)
    Real,     // text + fixed unit text, or a box of choices
    Count,    // unsigned count + fixed unit text
    Readout,  // read-only value text + read-only unit text
    Text,     // free text without a unit (bits, hexadecimal words)
    Option,   // a radio button of the group without a text of its own
    Choice,   // a box of choices alone (FormField::choices)
};

struct FormField {
    // What the field is.
    FieldKind kind = FieldKind::Real;
    std::string key;       // option name of the command line, e.g. "sine-period"
    std::string label;     // "周期"
    std::string symbol;    // "(t1)："
    std::string unitText;  // "V", "度", "回"; for a readout the (changing) unit text
    std::vector<std::string> choices;  // a box of these entries instead of time units
    int radio = -1;        // position in the dialog's radio group, -1 none

    // Its state.
    std::string text;
    document::TimeUnit unit = document::kUnitNone;  // time fields
    int choice = -1;       // fields with choices: the entry selected, -1 none
    bool enabled = true;
    bool markerShown = false;
    bool valid = false;
    std::int64_t time = 0;
    double real = 0.0;
    std::uint32_t count = 1;
};

FormField field(FieldKind kind, std::string key, std::string label, std::string symbol, std::string unitText = {},
                int radio = -1);
FormField timeField(std::string key, std::string label, std::string symbol, int radio = -1);
FormField realField(std::string key, std::string label, std::string symbol, std::string unitText, int radio = -1);
FormField countField(std::string key, std::string label, std::string symbol, std::string unitText);

// Readers: parse the text into the value (0, or 1 for counts, when it does
// not read) and return whether it read.
bool readTime(FormField& field);
bool readReal(FormField& field);
bool readCount(FormField& field);

inline void setValid(FormField& field, bool valid) {
    field.valid = valid;
    field.markerShown = !valid;
}

// Writes a time into a field in its unit; an unset unit gives an empty field.
void writeTime(FormField& field, std::int64_t value, int unit);
// The same, choosing the stored unit for the field first (a unit index
// outside 0..3 selects none).
void fillTime(FormField& field, std::int64_t value, std::int32_t storedUnit);

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
std::string gridAdjustMessage(const std::string& fieldName, const std::string& typed, int unit,
                              const std::string& adjusted);

inline constexpr const char* kInvalidParameters = "パラメータが不正です";

}  // namespace lyr::forms
