#include "document/block_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace lyr::document {

const char* readStatusMessage(ReadStatus status) {
    switch (status) {
    case ReadStatus::Ok: return "";
    case ReadStatus::OverLimit:
        return "処理可能な最大データ数を超えています。\n\nすべてのデータを読み込むことができませんでした。";
    case ReadStatus::OpenError: return "ファイルオープンエラーです。";
    case ReadStatus::ReadError: return "ファイル読み込みエラーです。";
    case ReadStatus::InvalidData: return "無効なデータが含まれています。\n\n読み込みを中止しました。";
    }
    return "";
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

ReadStatus readBlocks(const std::string& path, BlockSink& sink, ReadProgress* progress) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return ReadStatus::OpenError;
    // The length only scales the progress; a file that grows while read is still read to its end.
    std::int64_t length = 0;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        length = std::ftell(file.get());
        if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return ReadStatus::ReadError;
    } else {
        return ReadStatus::ReadError;
    }
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    std::vector<char> block(kReadBlockBytes);
    int shown = 0;
    if (progress) progress->setPercent(0);
    // The byte count at which the next whole percent is reached: a block is
    // handed over in slices that end there, so that a file shorter than one
    // block still moves the bar one percent at a time.
    auto nextMark = [&] { return length > 0 && shown < 100 ? ((shown + 1) * length + 99) / 100 : INT64_MAX; };
    std::int64_t mark = nextMark();
    std::int64_t done = 0;
    for (;;) {
        const std::size_t got = std::fread(block.data(), 1, block.size(), file.get());
        if (got < block.size() && std::ferror(file.get())) return ReadStatus::ReadError;
        if (got == 0) break;
        std::size_t at = 0;
        while (at < got) {
            std::size_t slice = got - at;
            if (progress && mark - done < static_cast<std::int64_t>(slice))
                slice = static_cast<std::size_t>(std::max<std::int64_t>(1, mark - done));
            std::size_t used = slice;
            const auto verdict = sink.consume(std::string_view(block.data() + at, slice), used);
            if (verdict == BlockSink::Verdict::Invalid) return ReadStatus::InvalidData;
            if (verdict == BlockSink::Verdict::Full) {
                if (at + used < got) return ReadStatus::OverLimit;
                // Full exactly at a block end: over the limit only if the file goes on.
                const int next = std::fgetc(file.get());
                if (next != EOF) return ReadStatus::OverLimit;
                if (std::ferror(file.get())) return ReadStatus::ReadError;
                if (progress && shown < 100) progress->setPercent(100);
                return ReadStatus::Ok;
            }
            at += slice;
            done += static_cast<std::int64_t>(slice);
            if (progress && done >= mark) {
                const int percent = static_cast<int>(std::min<std::int64_t>(100, done * 100 / length));
                if (percent > shown) progress->setPercent(shown = percent);
                mark = nextMark();
            }
        }
        if (got < block.size()) break;
    }
    const auto verdict = sink.finish();
    if (verdict == BlockSink::Verdict::Invalid) return ReadStatus::InvalidData;
    if (progress && shown < 100) progress->setPercent(100);
    return ReadStatus::Ok;
}

}  // namespace lyr::document
