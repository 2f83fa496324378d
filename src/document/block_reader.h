#pragma once
// One pass over a data file in blocks of 1,048,576 bytes, with progress by
// whole percent: the streaming shared by every text reader (bits, hexadecimal
// words, numbers). A reader is a BlockSink that parses each block as it comes
// and carries its own partial token from one block to the next.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lyr::document {

inline constexpr std::size_t kReadBlockBytes = 1'048'576;
// The most entries (bits, words, values) any reader keeps.
inline constexpr std::size_t kMaxReadEntries = 1'048'576;

enum class ReadStatus {
    Ok,           // the whole file was read
    OverLimit,    // the entry limit stopped the reading before the end; what was read stays
    OpenError,    // "ファイルオープンエラーです。"
    ReadError,    // "ファイル読み込みエラーです。"
    InvalidData,  // "無効なデータが含まれています。\n\n読み込みを中止しました。"
};

// The message shown for a status (empty for Ok).
const char* readStatusMessage(ReadStatus status);
// True when the entries read are to be used (Ok and OverLimit).
inline bool readSucceeded(ReadStatus s) { return s == ReadStatus::Ok || s == ReadStatus::OverLimit; }

// Where a reader reports its progress; the dialogs draw it as a bar.
class ReadProgress {
public:
    virtual ~ReadProgress() = default;
    // Called once with 0, then each time the whole percent of bytes read grows.
    virtual void setPercent(int percent) = 0;
};

class BlockSink {
public:
    enum class Verdict { More, Full, Invalid };
    virtual ~BlockSink() = default;
    // The next bytes of the file. Returns More to go on, Full when the entry
    // limit is reached (used = the bytes of this block taken up to then), or
    // Invalid on a byte or token the reader refuses.
    virtual Verdict consume(std::string_view block, std::size_t& used) = 0;
    // The end of the file: a pending token is completed (More or Full) or refused (Invalid).
    virtual Verdict finish() = 0;
};

// Reads path block by block into sink. OverLimit when the sink is full while
// any byte of the file is left unread; a full sink at the very end is Ok.
ReadStatus readBlocks(const std::string& path, BlockSink& sink, ReadProgress* progress = nullptr);

}  // namespace lyr::document
