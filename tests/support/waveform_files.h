#pragma once
// Helpers of the tests that read and write waveform files: whole-file bytes,
// legacy files built byte by byte, and injected input/output faults.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <cstdlib>
#include <unistd.h>

#include "document/waveform_file_format.h"
#include "document/waveform_file_io.h"
#include "support/scratch_folder.h"

namespace lyr::test {

namespace wf = lyr::document::wavefile;

inline std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void putFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void putFileText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Rewrites the header checksum after a test changed header bytes on purpose.
inline void resealHeader(std::uint8_t* header) {
    wf::putU32(header + wf::off::headerChecksum, wf::byteSum(header, wf::off::headerChecksum));
}

// A legacy file: header (sampling value u in 20 ns steps, n samples, unit 20),
// n doubles, then CH0..CH3 with n level bytes each.
struct LegacyFile {
    std::uint32_t u = 100;
    std::uint32_t n = 10;
    std::uint32_t timeUnit = 20;
    document::OutputSettings output{};
    std::vector<double> analog;                  // n values (default i / n)
    std::vector<std::uint8_t> channels[4];       // n levels each (default pattern)

    std::vector<std::uint8_t> bytes() const {
        wf::HeaderFields h;
        h.samplingUnits = u;
        h.sampleCount = n;
        h.timeUnitNs = timeUnit;
        h.totalTime = std::uint64_t(std::uint32_t(timeUnit * u)) * n;
        h.outputSettings = output;
        h.formatVersion = 1;
        wf::HeaderBytes header;
        wf::encodeHeader(h, header);
        std::vector<std::uint8_t> out(header.begin(), header.end());
        out.resize(1024 + 12ull * n);
        for (std::uint32_t i = 0; i < n; ++i)
            wf::putF64(out.data() + 1024 + 8ull * i, analog.empty() ? double(i) / n : analog[i]);
        for (std::size_t k = 0; k < 4; ++k)
            for (std::uint32_t i = 0; i < n; ++i)
                out[1024 + 8ull * n + k * n + i] =
                    channels[k].empty() ? std::uint8_t(((i >> k) & 1)) : channels[k][i];
        return out;
    }
};

// Lets a chosen transfer come up short or a flush or rename fail.
class FaultySeam : public wf::IoSeam {
public:
    int shortWriteAt = -1;  // 0-based index of the write call that is cut short
    int shortReadAt = -1;
    bool failFlush = false;
    bool failRename = false;
    bool refuseFolder = false;  // the folder takes no temporary file
    bool failCopy = false;      // the copy of the old bytes cannot be completed
    bool failRestore = false;   // nor can they be put back
    int writes = 0;
    int reads = 0;
    std::size_t allowWrite(std::size_t n) override { return writes++ == shortWriteAt ? n / 2 : n; }
    std::size_t allowRead(std::size_t n) override { return reads++ == shortReadAt ? n - 1 : n; }
    bool flushFails() override { return failFlush; }
    bool renameFails() override { return failRename; }
    bool folderRefusesNewFile() override { return refuseFolder; }
    bool backupFails() override { return failCopy; }
    bool restoreFails() override { return failRestore; }
};

// Points the user's temporary folder (TMPDIR) at a folder of the test while it lives.
class TemporaryFolderAt {
public:
    explicit TemporaryFolderAt(const std::filesystem::path& folder) {
        if (const char* old = std::getenv("TMPDIR")) previous_ = old;
        std::filesystem::create_directories(folder);
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderAt() {
        if (previous_) ::setenv("TMPDIR", previous_->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> previous_;
};

class SeamInstalled {
public:
    explicit SeamInstalled(wf::IoSeam* seam) : previous_(wf::installIoSeam(seam)) {}
    ~SeamInstalled() { wf::installIoSeam(previous_); }

private:
    wf::IoSeam* previous_;
};

}  // namespace lyr::test
