#pragma once
// The few file calls the waveform files need: a reader that transfers whole
// sections, and a writer that replaces its target only once everything has
// been written and flushed, so a failed save never destroys the old file.
// Where the folder takes no new file, the writer rewrites the target in
// place, but only after a complete copy of its old bytes exists in the
// user's temporary folder, from which a failed write puts them back.
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
    // The target's folder refuses the temporary file, as a read-only folder does.
    virtual bool folderRefusesNewFile() { return false; }
    // The copy of the old bytes cannot be completed.
    virtual bool backupFails() { return false; }
    // Putting the old bytes back after a failed in-place write fails too.
    virtual bool restoreFails() { return false; }
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
// the target on commit(), then flushes the folder. When the folder refuses
// the temporary file but the target is writable, the old bytes are copied
// to the temporary folder first and the target is rewritten in place.
// Destroying it without a successful commit removes the temporary file (or
// puts the old bytes back) and leaves the target as it was.
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
    // Flushes to the disk, closes and renames over the target (in place:
    // cuts the target to what was written, flushes and drops the copy).
    bool commit();
    // Gives up without committing. False only when an in-place write could
    // not be undone; the old bytes are then kept in keptCopy().
    bool abandon();

    // True when the target is being rewritten in place.
    bool inPlace() const { return inPlace_; }
    // The copy of the old bytes left behind by a failed, unrestored
    // in-place write; empty otherwise.
    const std::string& keptCopy() const { return keptCopy_; }

private:
    bool startInPlace();
    bool restoreOldBytes();
    int fd_ = -1;
    bool inPlace_ = false;
    std::string target_;
    std::string temp_;
    std::string copy_;  // in place: the old bytes, until commit or restore
    std::string keptCopy_;
    std::uint64_t oldSize_ = 0;
    std::uint64_t written_ = 0;
};

}  // namespace lyr::document::wavefile
