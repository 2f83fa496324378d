#pragma once
// Waveform file readers and writer at the level of file sections: header
// fields, samples and the raw settings block, with no document involved.
// The external-data and parallel editors use the readers to take samples
// and the time base from another file; the document's open and save
// (waveform_file.h) are built on them.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "document/waveform_file_format.h"
#include "document/waveform_file_io.h"

namespace lyr::document::wavefile {

struct FileResult {
    FileResult() = default;
    FileResult(bool ok_, std::string message_, std::string notice_ = {})
        : ok(ok_), message(std::move(message_)), notice(std::move(notice_)) {}
    bool ok = false;
    std::string message;  // kMsgOk on success, else the text to show
    // On success, a text the user should still see (kMsgSavedInPlace); else empty.
    std::string notice;
};

enum class FileFormat { Lyr, Syn };

// A buffer that grows to the largest size asked for and is not cleared, so
// that a read fills it directly. It may instead be lent memory someone else
// owns (a document's spare track), which it fills as long as that is large
// enough.
template <class T>
class SampleBuffer {
public:
    void resize(std::size_t n) {
        if (n > capacity_) {
            owned_ = std::make_unique_for_overwrite<T[]>(n);
            data_ = owned_.get();
            capacity_ = n;
        }
        size_ = n;
    }
    // Reads fill data (capacity elements, not owned) from now on.
    void lend(T* data, std::size_t capacity) {
        owned_.reset();
        data_ = data;
        capacity_ = capacity;
        size_ = 0;
    }
    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    std::unique_ptr<T[]> owned_;
    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// What a reader delivers. Only valid after a successful read.
struct WaveformFileContents {
    FileFormat format = FileFormat::Lyr;
    // Current format: every header field. Legacy: the same layout, of which
    // the time base (sampling value in 20 ns steps at samplingUnits, count at
    // sampleCount, total time) and the output settings are meaningful.
    HeaderFields header;
    SampleBuffer<double> analog;          // header.sampleCount doubles
    SampleBuffer<std::uint8_t> digital;   // one packed byte per sample, bit k = CHk
    // True when the settings block was read and its checksum held (format
    // version as expected); otherwise the editors get their defaults.
    bool settingsFromFile = false;
    SettingsBlock settingsBlock{};
};

// Current format (checks in the file's order; the first failure ends reading
// with its message). Blocks of another version than expectedVersion are not
// read: settingsFromFile stays false.
FileResult readWaveformFile(const std::string& path, std::uint32_t expectedVersion,
                            WaveformFileContents& out);
FileResult readWaveformFrom(ByteSource& source, std::uint32_t expectedVersion,
                            WaveformFileContents& out);

// Legacy format: analog and CH0..CH3 (bits 0..3 of the packed bytes); n
// samples as stored, not yet converted.
FileResult readLegacyFile(const std::string& path, WaveformFileContents& out);
FileResult readLegacyFrom(ByteSource& source, WaveformFileContents& out);

// Writes a current-format file of header.sampleCount samples from the
// tracks. The settings block gets its checksum here. The target is replaced
// only when everything was written and flushed.
FileResult writeWaveformFile(const std::string& path, const HeaderFields& header,
                             const SettingsBlock& settings, const double* analog,
                             const std::uint8_t* const digital[8]);

}  // namespace lyr::document::wavefile
