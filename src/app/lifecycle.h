#pragma once
// The document-level commands of the main window: new, open, drop, save,
// save as and close, with the save-changes prompt and the title rules. The
// widgets only present: every decision and text is made here.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/prompter.h"
#include "document/view_state_record.h"
#include "document/waveform_file.h"

namespace lyr::app {

// ---- texts ----
inline constexpr const char* kUntitled = "無題";
inline constexpr const char* kOpenFilter =
    "LYRファイル (*.lyr)|*.lyr|SYNファイル (*.syn)|*.syn|すべてのファイル (*.*)|*.*||";
inline constexpr const char* kSaveFilter = "LYRファイル (*.lyr)|*.lyr||";
inline constexpr const char* kDefaultExtension = "lyr";
inline constexpr const char* kInvalidParameterMessage = "不正なパラメータです。";
inline constexpr const char* kModifiedSuffix = " の内容は変更されています。";
inline constexpr const char* kFilePrefix = "ファイル ";
inline constexpr const char* kResolutionChangedLine = "アナログ分解能設定が変更されています。";
inline constexpr const char* kOutputChangedLine = "出力設定が変更されています。";
inline constexpr const char* kSaveQuestion = "変更を保存しますか？";
inline constexpr const char* kOverwriteQuestion = " は既に存在します。\n上書きしますか？";

// What the new command hands the total-time dialog.
inline constexpr std::int64_t kNewTotalTime = 10000000;
inline constexpr std::int64_t kNewSamplingTime = 10;
inline constexpr std::uint32_t kNewSampleCount = 1000000;

// ---- plain rules ----
// Which reader a path goes to is document::formatOfPath (the last three
// characters, case ignored); a legacy file is saved as
// document::convertedLegacyPath.
using document::FileFormat;

// The part after the last path separator.
std::string fileNameOf(const std::string& path);
// The title without its prefix: the file name, or "無題" without a path.
std::string bareTitle(const std::string& documentPath);
std::string documentTitle(const std::string& titlePrefix, const std::string& documentPath);
// The chosen save name with ".lyr" added when it has no extension of its own.
std::string withDefaultExtension(const std::string& path, const std::string& extension);

// The entries of a "description|pattern|...||" filter, each as
// "description (pattern)" (the description is kept as it is when it already
// names its pattern in brackets).
std::vector<std::string> filterEntries(const std::string& filter);

// The save-changes question, or the empty text when there is nothing to ask.
struct ChangeState {
    bool hasWaveform = false;
    bool modified = false;
    bool resolutionChanged = false;
    bool outputSettingsChanged = false;
};
std::string saveChangesMessage(const ChangeState& state, const std::string& documentPath);

// What travels with a file besides the document: the main window's edit lock
// and three reserved flags, the device text and the view state.
using document::StoredExtras;

struct OpenOutcome {
    bool ok = false;
    std::string message;      // shown when !ok
    bool fullImport = false;  // a current-version file: the extras came from it
};

// The document and its files as the commands see them.
class WaveformStore {
public:
    virtual ~WaveformStore() = default;
    virtual ChangeState changes() const = 0;
    virtual int analogResolution() const = 0;
    virtual bool newWaveform(std::int64_t samplingTimeNs, std::uint32_t sampleCount) = 0;
    // Reads the file into the document. On success the extras come from the
    // file (full import) or are reset; on failure document and extras are untouched.
    virtual OpenOutcome open(const std::string& path, FileFormat format, StoredExtras& extras) = 0;
    // Writes the document with the extras; on success the document is marked
    // saved. The message: on failure the text to show; on success empty, or a
    // notice the user should still see.
    virtual bool save(const std::string& path, const StoredExtras& extras, std::string& message) = 0;
    // The edit lock, which the document holds (false before the first waveform).
    virtual bool editAllowed() const = 0;
    virtual void setEditAllowed(bool allowed) = 0;
};

// The file dialogs. An empty answer means the dialog was cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> openFileName(const std::string& filter) = 0;
    virtual std::optional<std::string> saveFileName(const std::string& filter,
                                                    const std::string& defaultExtension,
                                                    const std::string& initialName) = 0;
};

// The total-time dialog of the new command: in the initial values, out the
// chosen candidate; false when it was closed without OK.
class WaveTimeChooser {
public:
    virtual ~WaveTimeChooser() = default;
    virtual bool choose(std::int64_t& totalTime, std::int64_t& samplingTime, std::uint32_t& count) = 0;
};

// What the main window does around the commands. Every member may stay empty.
struct LifecycleHooks {
    std::function<void()> pullOutputSettings;        // output window choices into the document
    std::function<void()> closeOutputWindow;
    std::function<void(const std::string&)> titleChanged;  // title with its prefix
    std::function<void(int)> setAnalogResolutionFromSelector;
    std::function<void()> unloadDeviceLibrary;
    // The view: reset, restore a stored record, give the record to store.
    std::function<void()> resetView;
    std::function<void(const document::ViewStateRecord&)> restoreViewState;
    std::function<document::ViewStateRecord()> storeViewState;
};

class DocumentLifecycle {
public:
    DocumentLifecycle(WaveformStore& store, Prompter& prompter, FileDialogs& dialogs,
                      WaveTimeChooser& waveTime);

    LifecycleHooks& hooks() { return hooks_; }

    // Commands; each returns whether it did its work.
    bool newWaveform();
    bool open();                           // the open dialog
    bool drop(const std::string& path);    // a file dropped on the window
    bool openPath(const std::string& path);  // the command line, and the end of open/drop
    bool save();
    bool saveAs();
    bool close();  // true when the window may close
    bool saveModified();
    bool saveTo(const std::string& path);

    // Enabling rules.
    bool canNew() const { return !busyNew_; }
    bool canOpen() const { return !busyOpen_; }
    bool canSave() const;
    bool canSaveAs() const { return store_.changes().hasWaveform && !busySaveAs_; }

    const std::string& documentPath() const { return documentPath_; }
    const std::string& titlePrefix() const { return titlePrefix_; }
    void setTitlePrefix(const std::string& prefix);
    // The prefix and the file name (or "無題"); before the first waveform only
    // the prefix, which the device selection sets as the title at start-up.
    std::string title() const;

    // The main window's file flags and the device text carried from file to
    // file (the view state in it is taken from the view at each save). The
    // edit lock is the document's: a file brings it, a save stores it.
    bool editAllowed() const { return store_.editAllowed(); }
    void setEditAllowed(bool allowed) { store_.setEditAllowed(allowed); }
    StoredExtras extras() const;
    void setExtras(const StoredExtras& extras);
    const std::string& deviceText() const { return extras_.deviceText; }

private:
    void call(const std::function<void()>& f) const {
        if (f) f();
    }
    void resetFileState();
    void setPath(const std::string& path);
    bool openAfterPrompt(const std::optional<std::string>& path);

    WaveformStore& store_;
    Prompter& prompter_;
    FileDialogs& dialogs_;
    WaveTimeChooser& waveTime_;
    LifecycleHooks hooks_;

    std::string documentPath_;
    std::string titlePrefix_;
    StoredExtras extras_;
    bool busyNew_ = false, busyOpen_ = false, busySave_ = false, busySaveAs_ = false;
};

}  // namespace lyr::app
