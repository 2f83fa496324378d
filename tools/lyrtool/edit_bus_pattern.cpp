// The bus patterns of `lyrtool edit`: uart, spi and i2c, made with the form
// the protocol dialog presents.
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "command.h"
#include "digital/data_readers.h"
#include "forms/form_editor.h"
#include "digital/bus_pattern_form.h"
#include "digital_options.h"
#include "edit_family.h"

namespace lyrtool {
namespace {

namespace dg = lyr::digital;

const std::map<std::string, std::set<std::string>> kEditorOptions = {
    {"uart",
     {"--start", "--mode", "--channel", "--baud", "--data-bits", "--parity", "--stop-bits", "--idle", "--order",
      "--gap", "--hex", "--hex-file", "--after"}},
    {"spi",
     {"--start", "--mode", "--clk", "--mosi", "--cs", "--spi-mode", "--rate", "--order", "--word", "--lead", "--lag",
      "--cs-active", "--hex", "--hex-file", "--after"}},
    {"i2c",
     {"--start", "--mode", "--scl", "--sda", "--rate", "--address", "--write", "--read", "--repeated-start", "--hex",
      "--hex-file", "--after"}},
};
const std::set<std::string> kFlags = {"--write", "--read", "--repeated-start"};

std::set<std::string> valueOptions() {
    std::set<std::string> all;
    for (const auto& [name, options] : kEditorOptions)
        for (const auto& o : options)
            if (!kFlags.count(o)) all.insert(o);
    return all;
}

bool accepts(const std::string& editor, const std::string& option) {
    auto known = kEditorOptions.find(editor);
    return known != kEditorOptions.end() && known->second.count(option) != 0;
}

struct Script {
    EditRun& run;
    std::string error;
    bool refused = false;  // a file did not read: not a usage error

    bool given(const std::string& o) const { return run.args.values.count(o) != 0 || run.args.flags.count(o) != 0; }
    const std::string& value(const std::string& o) const { return run.args.values.at(o); }
    bool fail(std::string message) {
        error = std::move(message);
        return false;
    }
    bool require(const std::string& o) { return given(o) || fail(run.editor + " needs " + o); }

    // One of the listed texts, its index into out.
    bool pick(const std::string& o, std::initializer_list<const char*> texts, int& out) {
        if (!given(o)) return true;
        int i = 0;
        for (const char* t : texts) {
            if (value(o) == t) return out = i, true;
            ++i;
        }
        std::string list;
        for (const char* t : texts) list += (list.empty() ? "" : "|") + std::string(t);
        return fail(o + " is " + list);
    }
    bool channel(const std::string& o, int role, dg::BusPatternForm& f) {
        int k = -1;
        if (!require(o)) return false;
        if (!parseChannelArgument(value(o), k)) return fail(o + " is 0|1|2|3|4|5|6|7");
        f.setRoleChannel(role, k);
        return true;
    }
    bool time(const std::string& o, std::size_t field, dg::BusPatternForm& f) {
        if (!given(o)) return true;
        std::string number;
        int unit = 0;
        if (!splitTimeArgument(value(o), number, unit)) return fail(o + " needs a TIME such as 100us (ns, us, ms or s)");
        f.setUnit(field, unit);
        f.setText(field, number);
        return true;
    }
    bool mode(dg::DigitalApplyMode& out) {
        if (!given("--mode")) return true;
        const auto m = parseApplyMode(value("--mode"));
        if (!m) return fail(kApplyModeError);
        out = *m;
        return true;
    }
    bool bytes(dg::BusPatternForm& f) {
        if (given("--hex") == given("--hex-file")) return fail(run.editor + " needs --hex TEXT or --hex-file FILE");
        if (given("--hex")) {
            f.setText(dg::BusPatternForm::kHex, value("--hex"));
            return true;
        }
        dg::LoadedEntries entries;
        if (!entries.allocate()) return fail("not enough memory for --hex-file");
        const auto r = dg::loadParallelFile(value("--hex-file"), entries, nullptr);
        if (!r.message.empty()) printErr("lyrtool edit: %s\n", r.message.c_str());
        if (!r.loaded) {
            refused = true;
            return fail("--hex-file '" + value("--hex-file") + "' does not read");
        }
        f.setBytes(entries.data(), entries.count());
        return true;
    }

    bool uart(dg::BusPatternForm& f) {
        f.setProtocol(dg::BusProtocol::Uart);
        int bits = 3, parity = 0, stop = 0, idle = 1, order = 0;
        if (!channel("--channel", 0, f) || !require("--baud") || !pick("--data-bits", {"5", "6", "7", "8"}, bits) ||
            !pick("--parity", {"none", "even", "odd", "mark", "space"}, parity) ||
            !pick("--stop-bits", {"1", "2"}, stop) || !pick("--idle", {"0", "1"}, idle) ||
            !pick("--order", {"lsb", "msb"}, order) || !time("--gap", dg::BusPatternForm::kGap, f))
            return false;
        f.setText(dg::BusPatternForm::kRate, value("--baud"));
        f.setDataBits(5 + bits);
        f.setParity(static_cast<dg::Parity>(parity));
        f.setStopBits(1 + stop);
        f.setIdle(idle);
        f.setLsbFirst(order == 0);
        return true;
    }
    bool spi(dg::BusPatternForm& f) {
        f.setProtocol(dg::BusProtocol::Spi);
        int mode = 0, order = 0, word = 0, high = 0;
        if (!channel("--clk", 0, f) || !channel("--mosi", 1, f) || !channel("--cs", 2, f) || !require("--rate") ||
            !pick("--spi-mode", {"0", "1", "2", "3"}, mode) || !pick("--order", {"msb", "lsb"}, order) ||
            !pick("--word", {"8", "16"}, word) || !pick("--cs-active", {"low", "high"}, high) ||
            !time("--lead", dg::BusPatternForm::kLead, f) || !time("--lag", dg::BusPatternForm::kLag, f))
            return false;
        f.setChipSelectActiveLow(high == 0);
        f.setText(dg::BusPatternForm::kRate, value("--rate"));
        f.setSpiMode(mode);
        f.setMsbFirst(order == 0);
        f.setWordBits(word == 0 ? 8 : 16);
        return true;
    }
    bool i2c(dg::BusPatternForm& f) {
        f.setProtocol(dg::BusProtocol::I2c);
        if (!channel("--scl", 0, f) || !channel("--sda", 1, f) || !require("--rate") || !require("--address"))
            return false;
        if (given("--write") == given("--read")) return fail("i2c needs --write or --read");
        f.setText(dg::BusPatternForm::kRate, value("--rate"));
        f.setText(dg::BusPatternForm::kAddress, value("--address"));
        f.setRead(given("--read"));
        f.setRepeatedStart(given("--repeated-start"));
        return true;
    }

    bool after(dg::BusPatternForm& f) {
        int keep = 0;
        if (!pick("--after", {"idle", "keep"}, keep)) return false;
        f.setAfterIdle(keep == 0);
        return true;
    }

    // Names the first field whose marker shows, or the form's own objection.
    bool check(const dg::BusPatternForm& f) {
        for (std::size_t i = 0; i < f.fieldCount(); ++i) {
            const dg::FormField& field = f.field(i);
            if (!field.markerShown) continue;
            std::string option = "--" + field.key;
            if (field.key == "rate" && run.editor == "uart") option = "--baud";
            return fail("invalid " + option + (given(option) ? " '" + value(option) + "'" : ""));
        }
        if (!f.createEnabled()) return fail(f.problem().empty() ? "the options make no pattern" : f.problem());
        return true;
    }
};

int runProtocol(EditRun& run) {
    Script script{run, {}};
    dg::DigitalApplyMode mode = dg::DigitalApplyMode::Replace;
    if (!script.mode(mode)) return run.usage = script.error, kUsage;
    bool usage = false;
    lyr::forms::FormEditor<dg::BusPatternForm> editor(run.prompter, [&](dg::BusPatternForm& f) {
        const bool set = run.editor == "uart" ? script.uart(f) : run.editor == "spi" ? script.spi(f) : script.i2c(f);
        if (!set || !script.after(f) || !script.time("--start", dg::DigitalEditFrame::kStartField, f) ||
            !script.bytes(f) || !script.check(f)) {
            usage = true;
            return false;
        }
        if (!f.achievedRateText().empty())
            printErr("lyrtool edit: rate made: %s\n", f.achievedRateText().c_str());
        return f.createSegment() && f.applyDigitalSegment(mode);
    });
    run.range = run.doc.EditDigitalProtocol(0, editor);
    if (usage && script.refused) {
        printErr("lyrtool edit: %s\n", script.error.c_str());
        return kRefused;
    }
    if (usage) return run.usage = script.error, kUsage;
    return run.range ? kOk : kRefused;
}

const bool registered = registerEditFamily({
    {"uart", "spi", "i2c"},
    valueOptions(),
    kFlags,
    accepts,
    runProtocol,
    "  bus patterns: each takes --start TIME --mode replace|or|and|xor and the\n"
    "             bytes as --hex TEXT or --hex-file FILE. Every pattern begins\n"
    "             and ends with its lines idle: UART one bit time of idle before\n"
    "             the first start bit and after the last stop bit; SPI one clock\n"
    "             period with chip select inactive and the clock at rest before\n"
    "             and after the active span (--lead and --lag lie inside it, data\n"
    "             low outside); I2C one clock period of bus free (both lines\n"
    "             high) before START and after STOP (--repeated-start ends with\n"
    "             the repeated START, the bus held). --after idle (default) holds\n"
    "             the lines at that end level up to the end of the waveform, as\n"
    "             part of the edit; --after keep leaves the samples after the\n"
    "             pattern as they were. Samples before --start are never touched.\n"
    "  uart       --channel K --baud N [--data-bits 5|6|7|8] [--after idle|keep]\n"
    "             [--parity none|even|odd|mark|space] [--stop-bits 1|2] [--idle 0|1]\n"
    "             [--order lsb|msb] [--gap TIME]\n"
    "  spi        --clk K --mosi K --cs K [--spi-mode 0|1|2|3] --rate HZ\n"
    "             [--order msb|lsb] [--word 8|16] [--lead TIME] [--lag TIME]\n"
    "             [--cs-active low|high] [--after idle|keep]\n"
    "  i2c        --scl K --sda K --rate HZ --address 0xNN (--write | --read)\n"
    "             [--repeated-start] [--after idle|keep]\n",
});

}  // namespace
}  // namespace lyrtool
