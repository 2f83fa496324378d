#include "forms/form_fields.h"

#include <new>

#include "document/large_buffers.h"
#include "forms/buffer_allocator.h"

namespace lyr::forms {

namespace doc = lyr::document;

namespace {

class HeapAllocator : public BufferAllocator {
public:
    std::unique_ptr<double[]> doubles(std::size_t n) override {
        std::unique_ptr<double[]> p(new (std::nothrow) double[n]);
        if (p) document::adviseLargeBuffer(p.get(), n * sizeof(double));
        return p;
    }
    std::unique_ptr<std::uint8_t[]> bytes(std::size_t n) override {
        return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[n]);
    }
};

}  // namespace

BufferAllocator& heapAllocator() {
    static HeapAllocator heap;
    return heap;
}

FormField field(FieldKind kind, std::string key, std::string label, std::string symbol, std::string unitText,
                int radio) {
    FormField f;
    f.kind = kind;
    f.key = std::move(key);
    f.label = std::move(label);
    f.symbol = std::move(symbol);
    f.unitText = std::move(unitText);
    f.radio = radio;
    return f;
}

FormField timeField(std::string key, std::string label, std::string symbol, int radio) {
    return field(FieldKind::Time, std::move(key), std::move(label), std::move(symbol), {}, radio);
}

FormField realField(std::string key, std::string label, std::string symbol, std::string unitText, int radio) {
    return field(FieldKind::Real, std::move(key), std::move(label), std::move(symbol), std::move(unitText), radio);
}

FormField countField(std::string key, std::string label, std::string symbol, std::string unitText) {
    return field(FieldKind::Count, std::move(key), std::move(label), std::move(symbol), std::move(unitText));
}

bool readTime(FormField& field) {
    std::int64_t v = 0;
    const bool ok = field.unit != doc::kUnitNone && doc::parseTime(field.text, field.unit, v);
    field.time = ok ? v : 0;
    return ok;
}

bool readReal(FormField& field) {
    double v = 0;
    const bool ok = doc::parseReal(field.text, v);
    field.real = ok ? v : 0.0;
    return ok;
}

bool readCount(FormField& field) {
    std::uint32_t v = 0;
    const bool ok = doc::parseUnsigned(field.text, v);
    field.count = ok ? v : 1;
    return ok;
}

void writeTime(FormField& field, std::int64_t value, int unit) {
    field.time = value;
    std::string text;
    if (!doc::formatTimeIn(value, unit, text)) text.clear();
    field.text = text;
}

void fillTime(FormField& field, std::int64_t value, std::int32_t storedUnit) {
    field.unit = doc::standardTimeUnit(storedUnit);
    writeTime(field, value, field.unit);
}

std::string gridAdjustMessage(const std::vector<GridAdjustment>& adjustments) {
    std::string text = "サンプリング時間の整数倍にするため、";
    for (const auto& a : adjustments) text += "[" + a.fieldName + "] ";
    text += "を調節します。\n";
    for (const auto& a : adjustments) {
        const std::string name = doc::unitName(a.unit);
        text += "\n" + a.typed + " " + name + "　→　" + a.adjusted + " " + name;
    }
    return text;
}

std::string gridAdjustMessage(const std::string& fieldName, const std::string& typed, int unit,
                              const std::string& adjusted) {
    return gridAdjustMessage(std::vector<GridAdjustment>{{fieldName, typed, unit, adjusted}});
}

}  // namespace lyr::forms
