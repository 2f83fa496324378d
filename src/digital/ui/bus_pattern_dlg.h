#pragma once
// The bus-pattern editor CDigitalProtocolDlg over the shared frame widget:
// the protocol choice, the rate with the rate made and its error, a page of
// options per protocol (UART, SPI, I2C) with the channel of each line, the
// bytes typed in hexadecimal or read from a file (the parallel editor's
// source rows), the form's objection when "作成" stays disabled, and one
// preview per driven line. Everything it shows comes from BusPatternForm.
#include "digital/bus_pattern_form.h"
#include "digital/ui/data_dialogs.h"

class QCheckBox;
class QStackedWidget;

namespace lyr::digital {

class CDigitalProtocolDlg : public DataSourceDialog {
    Q_OBJECT
public:
    // The option boxes, each an index into its list of choices.
    enum Option { DataBits, Parity, StopBits, Idle, UartOrder, SpiMode, SpiOrder, WordBits, ChipSelect, Direction,
                  After, kOptionCount };

    explicit CDigitalProtocolDlg(BusPatternForm& form, QWidget* parent = nullptr);
    QComboBox* protocolBox() const { return protocol_; }
    QStackedWidget* pages() const { return pages_; }
    // The channel box of a line on a protocol's page (role as the form counts it).
    QComboBox* channelBoxOf(BusProtocol protocol, int role) const {
        return lines_[static_cast<int>(protocol)][role];
    }
    QComboBox* optionBox(Option option) const { return options_[option]; }
    QCheckBox* repeatedStartCheck() const { return repeated_; }
    QLabel* achievedLabel() const { return achieved_; }
    QLabel* problemLabel() const { return problem_; }
    QLabel* layoutLabel() const { return layout_; }
    LevelPreview* linePreview(int role) const { return previews_[role]; }
    QLabel* lineLabel(int role) const { return lineLabels_[role]; }
    void showForm() override;

protected:
    // The lines are drawn in their own boxes.
    std::vector<LevelPreview::Layer> previewLayers() const override { return {}; }

private:
    QComboBox* addOption(QGridLayout* grid, int row, int column, Option option, const QString& label,
                         const QStringList& items, const QString& unit = {});
    QComboBox* addLine(QGridLayout* grid, int row, BusProtocol protocol, int role, const QString& label);
    void setOption(Option option, int index);
    int optionIndex(Option option) const;
    void buildPreviews();
    void setKeyboardOrder();

    BusPatternForm& bus_;
    QComboBox* protocol_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QComboBox* lines_[3][3] = {};
    QComboBox* options_[kOptionCount] = {};
    QCheckBox* repeated_ = nullptr;
    QLabel* achieved_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* layout_ = nullptr;
    LevelPreview* previews_[3] = {};
    QLabel* lineLabels_[3] = {};
};

using ProtocolDialogEditor = DigitalDialogEditor<BusPatternForm, CDigitalProtocolDlg>;

}  // namespace lyr::digital
