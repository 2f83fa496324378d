#pragma once
// The serial and parallel editors' forms: a run of bits on one channel, or
// of 8-bit words across the eight channels, each entry held for one bit time
// or interval. The entries come from a text typed in ("直接入力") or from a
// file ("ファイル"); a file is read when it is chosen or dropped, and a file
// that does not read keeps what was loaded before.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "digital/data_readers.h"
#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"

namespace lyr::digital {

// What the two editors share: the entry time field, the text field, the
// source switch and the file.
class DataSourceForm : public DigitalEditFrame, public EntrySource {
public:
    static constexpr std::size_t kTime = 1, kText = 2;

    int source() const override { return source_; }
    // Direct input enables the text field and its marker, the file source
    // the "参照・読込" button; either change makes the preview stale.
    void setSource(int source) override;
    bool browseEnabled() const override { return source_ == kFile; }

    const std::string& path() const override { return path_; }
    std::size_t loadedCount() const { return loaded_.count(); }
    const std::uint8_t* loadedEntries() const { return loaded_.data(); }
    bool loadFile(const std::string& path, document::ReadProgress* progress,
                  const std::function<void()>& read = {}) override;
    std::size_t textField() const override { return kText; }

    // The number of entries the period counts (0 when the text is invalid).
    std::size_t entryCount() const { return entryCount_; }

protected:
    // timeKey / textKey: the fields' option names on the command line.
    DataSourceForm(Prompter& prompter, const char* timeKey, const char* textKey);
    virtual LoadResult readFile(const std::string& path, document::ReadProgress* progress) = 0;
    virtual void fileRead(const LoadResult&) {}
    // Entries of a valid direct text, 0 when it is not valid.
    virtual std::size_t textEntries(const std::string& text) const = 0;

    bool allocateWork() override { return loaded_.allocate(); }
    void testKindFields() override;
    bool kindFieldsValid() const override;
    // Create steps shared by both: the time read and moved onto the grid with
    // "[インターバル時間] ", the period, the checks; h and N for the fill.
    bool prepare(std::size_t entries, std::uint64_t& h, std::size_t& n);

    int source_ = kDirect;
    LoadedEntries loaded_;
    std::string rememberedText_;  // from the document, shown when the form opens

private:
    std::string path_;
    std::size_t entryCount_ = 0;
};

class SerialForm : public DataSourceForm {
public:
    using Settings = document::SerialSettings;
    explicit SerialForm(Prompter& prompter);
    const char* title() const override { return "ディジタルデータの作成　（ シリアル ）"; }
    const char* memoryMessage() const override {
        return "ディジタル波形外部データ読み込みのためのメモリが確保できませんでした";
    }
    void load(const document::EditRequest<Settings>& request);
    void store(document::EditRequest<Settings>& request) const;
    Settings settings() const;

protected:
    void fillFields() override;
    bool build() override;
    LoadResult readFile(const std::string& path, document::ReadProgress* progress) override {
        return loadSerialFile(path, loaded_, progress);
    }
    std::size_t textEntries(const std::string& text) const override;

private:
    Settings settings_;
};

class ParallelForm : public DataSourceForm {
public:
    using Settings = document::ParallelSettings;
    explicit ParallelForm(Prompter& prompter);
    const char* title() const override { return "ディジタルデータの作成　（ パラレル ）"; }
    const char* memoryMessage() const override { return "ディジタル波形作成のためのメモリが確保できませんでした"; }
    void load(const document::EditRequest<Settings>& request);
    void store(document::EditRequest<Settings>& request) const;
    Settings settings() const;

    // 0 "BIT7：CH7－BIT0：CH0", 1 "BIT7：CH0－BIT0：CH7"; a change makes the preview stale.
    int bitOrder() const { return bitOrder_; }
    void setBitOrder(int order);
    // Bit k set: CHk receives the result. Only re-tests and recolours.
    std::uint8_t channelMask() const { return mask_; }
    void setChannelMask(std::uint8_t mask);
    void setChannelChecked(int channel, bool checked);
    bool bufferHighlighted(std::size_t buffer) const override { return (mask_ >> buffer) & 1; }

protected:
    void fillFields() override;
    bool build() override;
    bool allocateWork() override;
    bool applyAllowed() const override { return mask_ != 0; }
    std::vector<std::pair<int, std::size_t>> targets() const override;
    LoadResult readFile(const std::string& path, document::ReadProgress* progress) override;
    void fileRead(const LoadResult& r) override;
    std::size_t textEntries(const std::string& text) const override;

private:
    Settings settings_;
    int bitOrder_ = 0;
    std::uint8_t mask_ = 0xFF;
    std::unique_ptr<std::uint8_t[]> typedWords_;  // the words of the direct text
};

// count x each, clipped to T (never overflowing); 0 when either is not positive.
std::int64_t clippedPeriod(std::size_t count, std::int64_t each, std::int64_t totalTime);

}  // namespace lyr::digital
