#pragma once
// The output command "波形データ出力(&W)" and what the main frame keeps about
// the device: whether the D2XX library is bound, which unit the start-up
// selection designated and the title prefix. It owns the output window while
// it is open and offers the frame's lifecycle steps around it
// (pullOutputSettings, closeOutputWindow, the document name, the allocation).
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "device/device_library.h"
#include "device/device_selection.h"
#include "device/ui/output_dlg.h"
#include "document/ui/command_set.h"

namespace lyr::device {


// A new time base (a total-time change or its undo) hands the window's
// choices back and closes it: the window holds the sample count it opened with.
class OutputCommands : public ui::CommandSet, private document::DocumentObserver {
    Q_OBJECT
public:
    OutputCommands(const ui::CommandEnv& env, const DeviceLibrary& library, QObject* parent = nullptr);
    ~OutputCommands() override;

    CommandRows rows() const override {
        return {{CommandId::Output, "波形データ出力(&W)", "波形データの出力", "出力", CommandRule::Output,
                 Glyph::Output}};
    }
    // Enabled while a unit is designated.
    bool available(CommandId id) const override { return id == CommandId::Output && deviceSpecified_; }
    void run(CommandId id) override;

    // ---- the frame's device state ----
    bool libraryBound() const { return library_.bound(); }
    bool deviceSpecified() const { return deviceSpecified_; }
    const std::string& deviceSerial() const { return deviceSerial_; }
    const std::string& deviceDescription() const { return deviceDescription_; }
    const std::string& titlePrefix() const { return titlePrefix_; }
    // The start-up selection with the MaxNumber value and the settings file
    // holding the device list (the dialog unless the limit is 1). Returns
    // the selection; the caller sets the document title when titleSet.
    DeviceSelection selectDevice(int maxNumber, const QString& settingsPath);
    // The same with another dialog and store (tests).
    DeviceSelection selectDevice(int maxNumber, DeviceListStore& store, DeviceChooser& chooser);

    // ---- the window ----
    // The windows opened from now on reach the unit from a worker thread of
    // their own (the editor's way); otherwise every exchange runs at once.
    void setDeviceWorker(bool on) { deviceWorker_ = on; }
    bool outputWindowOpen() const { return window_ != nullptr; }
    COutputDlg* outputWindow() const { return window_; }
    // The document title without the prefix, as the window shows it.
    std::function<std::string()> bareDocumentTitle;
    // The toolbar's output button drawn pressed (true) or plain (false).
    std::function<void(bool)> setOutputButtonPressed;

    // The window's choices into the document (fields 1 .. 10), when it is open.
    void pullOutputSettings();
    // Lets the unit go and destroys the window, when it is open.
    void closeOutputWindow();
    // The document's name changed (without the prefix).
    void setOutputTitle(const std::string& bareTitle);

public slots:
    // Restores the window if minimised and makes it the foreground window.
    void bringOutputWindowToFront();

signals:
    // The window closed (the frame releases the output button and re-evaluates).
    void outputWindowClosed();

private:
    void timeBaseChanged() override {
        pullOutputSettings();
        closeOutputWindow();
    }
    void openOutputWindow();
    void windowCloseRequested();

    const DeviceLibrary& library_;
    bool deviceSpecified_ = false;
    bool deviceWorker_ = false;
    std::string deviceSerial_, deviceDescription_, titlePrefix_;
    QPointer<COutputDlg> window_;
};

}  // namespace lyr::device
