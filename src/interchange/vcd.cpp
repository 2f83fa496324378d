#include "interchange/vcd.h"

#include <cctype>

namespace lyr::interchange {

namespace doc = lyr::document;
using Verdict = doc::BlockSink::Verdict;
using u128 = unsigned __int128;

VcdTimescale vcdTimescaleFor(std::int64_t ts) {
    static const struct {
        std::int64_t ns;
        const char* text;
    } kScales[] = {{100'000'000'000, "100s"}, {10'000'000'000, "10s"}, {1'000'000'000, "1s"},
                   {100'000'000, "100ms"},    {10'000'000, "10ms"},     {1'000'000, "1ms"},
                   {100'000, "100us"},        {10'000, "10us"},         {1'000, "1us"},
                   {100, "100ns"},            {10, "10ns"},             {1, "1ns"}};
    for (const auto& s : kScales)
        if (ts > 0 && ts % s.ns == 0) return {s.ns, s.text};
    return {1, "1ns"};
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// "1ns", "10 us", "100ps": the step in femtoseconds, 0 when it does not read.
u128 timescaleFs(const std::string& text) {
    std::size_t i = 0;
    std::uint64_t n = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) n = n * 10 + (text[i] - '0');
    if (n != 1 && n != 10 && n != 100) return 0;
    const std::string unit = text.substr(i);
    static const struct {
        const char* unit;
        std::uint64_t fs;
    } kUnits[] = {{"s", 1'000'000'000'000'000}, {"ms", 1'000'000'000'000}, {"us", 1'000'000'000},
                  {"ns", 1'000'000},            {"ps", 1'000},             {"fs", 1}};
    for (const auto& u : kUnits)
        if (unit == u.unit) return u128{n} * u.fs;
    return 0;
}

}  // namespace

VcdSink::VcdSink(std::uint8_t* words, std::size_t capacity, std::int64_t intervalNs)
    : words_(words), capacity_(capacity), intervalNs_(intervalNs) {}

bool VcdSink::headerToken(std::string_view t) {
    switch (section_) {
    case Section::None:
        if (t == "$timescale") section_ = Section::Timescale;
        else if (t == "$var") section_ = Section::Var;
        else if (t == "$enddefinitions") section_ = Section::Definitions;
        else if (t.size() > 1 && t[0] == '$' && t != "$end") section_ = Section::Skip;
        else return false;
        sectionTokens_.clear();
        return true;
    case Section::Skip:
        if (t == "$end") section_ = Section::None;
        return true;
    case Section::Definitions:
        if (t != "$end") return false;
        section_ = Section::None;
        inBody_ = true;
        return endDefinitions();
    case Section::Timescale:
    case Section::Var:
        break;
    }
    if (t != "$end") {
        sectionTokens_.emplace_back(t);
        return sectionTokens_.size() < 16;
    }
    if (section_ == Section::Timescale) {
        std::string text;
        for (const auto& s : sectionTokens_) text += s;
        unitFs_ = timescaleFs(text);
        if (unitFs_ == 0) return false;
    } else {
        // type, width, identifier, name and perhaps a bit range
        if (sectionTokens_.size() < 4) return false;
        Var v;
        const std::string& type = sectionTokens_[0];
        v.id = sectionTokens_[2];
        v.name = sectionTokens_[3];
        const std::string& width = sectionTokens_[1];
        if (width.empty() || width.size() > 6) return false;
        for (char c : width) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
            v.width = v.width * 10 + (c - '0');
        }
        if (type != "wire" && type != "reg") v.width = 0;  // reals, integers, events: not channels
        vars_.push_back(std::move(v));
    }
    section_ = Section::None;
    return true;
}

bool VcdSink::endDefinitions() {
    if (unitFs_ == 0 || intervalNs_ <= 0) return false;
    std::array<const Var*, 8> channels{};
    bool named = false;
    for (const Var& v : vars_) {
        if (v.width != 1 || v.name.size() != 3 || v.name.compare(0, 2, "CH") != 0) continue;
        const char k = v.name[2];
        if (k >= '0' && k <= '7') channels[static_cast<std::size_t>(k - '0')] = &v, named = true;
    }
    if (!named) {
        std::size_t k = 0;
        for (const Var& v : vars_)
            if (v.width == 1 && k < 8) channels[k++] = &v;
        if (k == 0) return false;
    }
    for (std::size_t k = 0; k < 8; ++k) {
        if (!channels[k]) continue;
        const std::string& id = channels[k]->id;
        const auto bit = static_cast<std::uint8_t>(1u << k);
        if (id.size() == 1 && static_cast<unsigned char>(id[0]) < shortIds_.size())
            shortIds_[static_cast<unsigned char>(id[0])] |= bit;
        else
            longIds_[id] |= bit;
    }
    vars_.clear();
    return true;
}

void VcdSink::setValue(std::string_view id, bool high) {
    std::uint8_t bits = 0;
    if (id.size() == 1 && static_cast<unsigned char>(id[0]) < shortIds_.size()) {
        bits = shortIds_[static_cast<unsigned char>(id[0])];
    } else {
        const auto it = longIds_.find(std::string(id));
        if (it != longIds_.end()) bits = it->second;
    }
    word_ = high ? std::uint8_t(word_ | bits) : std::uint8_t(word_ & ~bits);
}

bool VcdSink::advanceTo(u128 fs) {
    if (timeSeen_ && fs < now_) return false;  // time runs forward only
    const u128 step = u128(static_cast<std::uint64_t>(intervalNs_)) * 1'000'000;
    // Every instant before the new time takes the values up to now (before
    // the first time: those given at its head, else 0).
    while (u128(count_) * step < fs) {
        if (count_ == capacity_) {
            overflowed_ = true;
            break;
        }
        words_[count_++] = word_;
    }
    timeSeen_ = true;
    now_ = fs;
    return true;
}

bool VcdSink::bodyToken(std::string_view t) {
    if (section_ == Section::Skip) {
        if (t == "$end") section_ = Section::None;
        return true;
    }
    if (waiting_) {
        if (waiting_ == 'b') setValue(t, waitingHigh_);
        waiting_ = 0;
        return true;
    }
    const char c = t[0];
    if (c == '#') {
        u128 n = 0;
        if (t.size() < 2 || t.size() > 21) return false;
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
            n = n * 10 + static_cast<unsigned>(t[i] - '0');
        }
        return advanceTo(n * unitFs_);
    }
    if (c == '0' || c == '1' || c == 'x' || c == 'X' || c == 'z' || c == 'Z') {
        if (t.size() < 2) return false;
        setValue(t.substr(1), c == '1');
        return true;
    }
    if (c == 'b' || c == 'B') {
        // A vector: its last bit drives a 1-bit wire.
        if (t.size() < 2) return false;
        waiting_ = 'b';
        waitingHigh_ = t.back() == '1';
        return true;
    }
    if (c == 'r' || c == 'R') {
        waiting_ = 'r';
        return true;
    }
    if (t == "$dumpvars" || t == "$dumpall" || t == "$dumpon" || t == "$dumpoff" || t == "$end") return true;
    if (t == "$comment") {
        section_ = Section::Skip;
        return true;
    }
    return false;
}

bool VcdSink::token(std::string_view t) { return inBody_ ? bodyToken(t) : headerToken(t); }

Verdict VcdSink::consume(std::string_view block, std::size_t& used) {
    (void)used;
    const char* p = block.data();
    const char* const end = p + block.size();
    if (!pending_.empty()) {
        const char* q = p;
        while (q < end && !isBlank(*q)) ++q;
        pending_.append(p, q);
        if (q == end) return Verdict::More;
        if (!token(pending_)) return Verdict::Invalid;
        pending_.clear();
        p = q;
    }
    while (p < end) {
        while (p < end && isBlank(*p)) ++p;
        const char* q = p;
        while (q < end && !isBlank(*q)) ++q;
        if (q == end) {
            pending_.assign(p, q);
            break;
        }
        if (!token(std::string_view(p, static_cast<std::size_t>(q - p)))) return Verdict::Invalid;
        p = q;
    }
    return Verdict::More;
}

Verdict VcdSink::finish() {
    if (!pending_.empty() && !token(pending_)) return Verdict::Invalid;
    pending_.clear();
    // A dump that never ended its definitions, or a value left without its identifier.
    if (!inBody_ || waiting_) return Verdict::Invalid;
    return Verdict::More;
}

doc::ReadStatus readVcdWords(const std::string& path, std::int64_t intervalNs, std::uint8_t* words,
                             std::size_t capacity, std::size_t& count, doc::ReadProgress* progress) {
    VcdSink sink(words, capacity, intervalNs);
    doc::ReadStatus status = doc::readBlocks(path, sink, progress);
    if (status == doc::ReadStatus::Ok && sink.overflowed()) status = doc::ReadStatus::OverLimit;
    count = doc::readSucceeded(status) ? sink.count() : 0;
    return status;
}

}  // namespace lyr::interchange
