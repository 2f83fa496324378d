#pragma once
// Scripted stand-ins for what the document commands talk to.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/lifecycle.h"

namespace lyr::app::test {

class FakeStore : public WaveformStore {
public:
    ChangeState changes() const override { return state; }
    int analogResolution() const override { return resolution; }
    bool newWaveform(std::int64_t ts, std::uint32_t n) override {
        calls.push_back("new " + std::to_string(ts) + " " + std::to_string(n));
        if (!acceptNew) return false;
        state = ChangeState{true, false, false, false};
        resolution = 12;
        return true;
    }
    OpenOutcome open(const std::string& path, FileFormat format, StoredExtras& extras) override {
        calls.push_back(std::string(format == FileFormat::Syn ? "open-syn " : "open-lyr ") + path);
        if (openOutcome.ok) {
            state = ChangeState{true, false, false, false};
            extras = openOutcome.fullImport ? fileExtras : StoredExtras{};
        }
        return openOutcome;
    }
    bool save(const std::string& path, const StoredExtras& s, std::string& message) override {
        calls.push_back("save " + path);
        saved = s;
        if (!acceptSave) {
            message = "ファイル書き込みエラーです。";
            return false;
        }
        state.modified = state.resolutionChanged = state.outputSettingsChanged = false;
        return true;
    }

    bool editAllowed() const override { return allowed; }
    void setEditAllowed(bool a) override { allowed = a; }

    ChangeState state;
    int resolution = 12;
    bool allowed = false;  // as the document: nothing to edit before the first waveform
    bool acceptNew = true;
    bool acceptSave = true;
    OpenOutcome openOutcome{true, "", false};
    StoredExtras fileExtras;  // what a full import brings
    std::optional<StoredExtras> saved;
    std::vector<std::string> calls;
};

class FakeDialogs : public FileDialogs {
public:
    std::optional<std::string> openFileName(const std::string& filter) override {
        filters.push_back(filter);
        return next();
    }
    std::optional<std::string> saveFileName(const std::string& filter, const std::string& ext,
                                            const std::string& initial) override {
        filters.push_back(filter);
        extensions.push_back(ext);
        initialNames.push_back(initial);
        return next();
    }
    std::optional<std::string> next() {
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> filters, extensions, initialNames;
};

class FakeWaveTime : public WaveTimeChooser {
public:
    bool choose(std::int64_t& total, std::int64_t& ts, std::uint32_t& n) override {
        seenTotal = total;
        seenTs = ts;
        seenN = n;
        if (!ok) return false;
        total = answerTs * answerN;
        ts = answerTs;
        n = answerN;
        return true;
    }
    bool ok = true;
    std::int64_t answerTs = 20;
    std::uint32_t answerN = 500;
    std::int64_t seenTotal = 0;
    std::int64_t seenTs = 0;
    std::uint32_t seenN = 0;
};

}  // namespace lyr::app::test
