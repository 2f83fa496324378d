#pragma once
// The few file calls the waveform files need: a reader that transfers whole
// sections, and a writer that replaces its target only once everything has
// been written and flushed, so a failed save never destroys the old file.
#include <cstddef>
#include <cstdint>
#include <string>

namespace lyr::document::wavefile {

// Test seam: while installed, every transfer and flush asks it first. The
// default answers let everything through.
class IoSeam {
public:
    virtual ~IoSeam() = default;
    // How many of the n bytes the next write may transfer; fewer stops the
    // write as a full disk does.
    virtual std::size_t allowWrite(std::size_t n) { return n; }
    // How many of the n bytes the next read may deliver.
    virtual std::size_t allowRead(std::size_t n) { return n; }
    virtual bool flushFails() { return false; }
    virtual bool renameFails() { return false; }
};
// Installs the seam (nullptr removes it). Returns the previous one.
IoSeam* installIoSeam(IoSeam* seam);

// Where a reader takes its bytes from: a file or, for tests and fuzzing,
// memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly n bytes from the current position; false when short.
    virtual bool readExact(void* buffer, std::size_t n) = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint64_t size() const override { return size_; }
    bool readExact(void* buffer, std::size_t n) override;

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class InputFile : public ByteSource {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens a regular file for reading; false when it cannot be opened.
    bool open(const std::string& path);
    std::uint64_t size() const override { return size_; }
    // Reads exactly n bytes; false on a short read or a failing read.
    bool readExact(void* buffer, std::size_t n) override;

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Writes into a temporary file in the target's folder and renames it over
// the target on commit(). Destroying it without a successful commit removes
// the temporary file and leaves the target as it was.
class ReplacingFile {
public:
    ReplacingFile() = default;
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False when the file cannot be created (the target's folder refuses a
    // new file, or the existing target is not writable).
    bool create(const std::string& path);
    bool write(const void* data, std::size_t n);
    // Flushes to the disk, closes and renames over the target.
    bool commit();

private:
    void discard();
    int fd_ = -1;
    std::string target_;
    std::string temp_;
};

}  // namespace lyr::document::wavefile
