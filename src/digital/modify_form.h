#pragma once
// The modification editor's form: copy a piece of one channel ("コピー"),
// change it (invert, shift through the shift form, freehand strokes in the
// preview) and merge it at the edit start into the edit channel through the
// digital edit frame. Buffer 0 is the edited piece (what is applied), buffer
// 1 the piece as copied.
#include <cstdint>
#include <functional>

#include "digital/digital_edit_frame.h"
#include "digital/shift_form.h"
#include "document/editor_contract.h"

namespace lyr::digital {

class ModifyForm : public DigitalEditFrame {
public:
    using Settings = document::ModifyEditorSettings;
    static constexpr std::size_t kCopyStart = 1, kCopyPeriod = 2;
    static constexpr std::size_t kEdited = 0, kCopied = 1;
    explicit ModifyForm(Prompter& prompter);
    const char* title() const override { return "ディジタルデータの修正"; }
    const char* memoryMessage() const override { return "ディジタル波形修正のためのメモリが確保できませんでした"; }

    void load(const document::EditRequest<Settings>& request);
    void store(document::EditRequest<Settings>& request) const;
    Settings settings() const;

    void setCopyChannel(int channel);
    int copyChannel() const { return copyChannel_; }
    // A piece is loaded: apply, "反転" and "シフト" are allowed.
    bool copied() const { return previewCurrent(); }
    // The copy fields are locked; the copy button reads "再コピー".
    bool locked() const { return locked_; }
    const char* copyButtonText() const { return locked_ ? "再コピー" : "コピー"; }
    bool copyButtonEnabled() const { return locked_ || createEnabled(); }
    // The copy button: copies while unlocked, only unlocks while locked.
    bool pressCopy();
    const std::string& copyStartLabel() const { return copyStartLabel_; }
    const std::string& copyEndLabel() const { return copyEndLabel_; }

    // "反転": every level of the edited piece becomes its opposite.
    bool invertPiece();
    // "シフト": the shift form on the edited piece; `drive` returns whether it
    // ended with OK. The shift settings it leaves are kept on OK.
    bool shiftPiece(const std::function<bool(ShiftForm&)>& drive);
    const document::ShiftSettings& shiftSettings() const { return shift_; }

    // Freehand drawing in the preview band (pixels, edges included).
    struct Band {
        int left = 0, top = 0, width = 1, height = 1;
    };
    void setBand(const Band& band);
    const Band& band() const { return band_; }
    // Button down: starts a stroke when inside the band or near it.
    bool press(int x, int y);
    // Move: draws while the button is held; a move without it ends the stroke.
    void move(int x, int y, bool buttonHeld);
    void release() { drawing_ = false; }
    bool drawing() const { return drawing_; }
    // Columns of the band (relative, first and last) the last line touched.
    int dirtyFirst() const { return dirtyFirst_; }
    int dirtyLast() const { return dirtyLast_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool build() override;
    bool isGenerationField(std::size_t i) const override { return i == kCopyStart || i == kCopyPeriod; }
    bool keepsStalePreview() const override { return false; }

private:
    bool nearBand(int x, int y) const;
    void drawLine(int x0, int y0, int x1, int y1);

    document::ModifySettings modify_;
    document::ShiftSettings shift_;
    int copyChannel_ = 0;
    bool locked_ = false;
    std::string copyStartLabel_, copyEndLabel_;
    Band band_{0, 9, 380, 100};
    bool drawing_ = false;
    int lastX_ = 0, lastY_ = 0;
    int dirtyFirst_ = 0, dirtyLast_ = -1;
};

}  // namespace lyr::digital
