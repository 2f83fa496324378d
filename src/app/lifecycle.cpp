#include "app/lifecycle.h"

#include <filesystem>
#include <system_error>

namespace lyr::app {

namespace {

// Clears a flag for the life of one command so it cannot re-enter.
class BusyGuard {
public:
    explicit BusyGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyGuard() { flag_ = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    bool& flag_;
};

}  // namespace

std::string fileNameOf(const std::string& path) {
    const auto pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string bareTitle(const std::string& documentPath) {
    return documentPath.empty() ? std::string(kUntitled) : fileNameOf(documentPath);
}

std::string documentTitle(const std::string& titlePrefix, const std::string& documentPath) {
    return titlePrefix + bareTitle(documentPath);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension) {
    const std::string name = fileNameOf(path);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

std::vector<std::string> filterEntries(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<std::string> entries;
    for (std::size_t k = 0; k + 1 < parts.size(); k += 2) {
        const std::string& description = parts[k];
        const std::string& pattern = parts[k + 1];
        if (description.empty()) break;  // the closing "||"
        if (description.find("(" + pattern + ")") != std::string::npos)
            entries.push_back(description);
        else
            entries.push_back(description + " (" + pattern + ")");
    }
    return entries;
}

std::string saveChangesMessage(const ChangeState& state, const std::string& documentPath) {
    if (!state.hasWaveform) return {};
    std::string text;
    if (state.modified) {
        if (!documentPath.empty()) text += kFilePrefix;
        text += bareTitle(documentPath);
        text += kModifiedSuffix;
        text += "\n\n";
    }
    if (state.resolutionChanged) {
        text += kResolutionChangedLine;
        text += "\n\n";
    }
    if (state.outputSettingsChanged) {
        text += kOutputChangedLine;
        text += "\n\n";
    }
    if (text.empty()) return {};
    return text + kSaveQuestion;
}

DocumentLifecycle::DocumentLifecycle(WaveformStore& store, Prompter& prompter, FileDialogs& dialogs,
                                     WaveTimeChooser& waveTime)
    : store_(store), prompter_(prompter), dialogs_(dialogs), waveTime_(waveTime) {}

bool DocumentLifecycle::canSave() const {
    const ChangeState c = store_.changes();
    return c.hasWaveform && (c.modified || c.resolutionChanged || c.outputSettingsChanged) && !busySave_;
}

std::string DocumentLifecycle::title() const {
    if (documentPath_.empty() && !store_.changes().hasWaveform) return titlePrefix_;
    return documentTitle(titlePrefix_, documentPath_);
}

void DocumentLifecycle::setTitlePrefix(const std::string& prefix) {
    titlePrefix_ = prefix;
    if (hooks_.titleChanged) hooks_.titleChanged(title());
}

void DocumentLifecycle::setPath(const std::string& path) {
    documentPath_ = path;
    if (hooks_.titleChanged) hooks_.titleChanged(title());
}

void DocumentLifecycle::resetFileState() { setExtras(StoredExtras{}); }

StoredExtras DocumentLifecycle::extras() const {
    StoredExtras e = extras_;
    e.editLocked = !store_.editAllowed();
    return e;
}

void DocumentLifecycle::setExtras(const StoredExtras& extras) {
    extras_ = extras;
    store_.setEditAllowed(!extras.editLocked);
}

bool DocumentLifecycle::saveModified() {
    const std::string text = saveChangesMessage(store_.changes(), documentPath_);
    if (text.empty()) return true;
    switch (prompter_.ask(text, PromptButtons::YesNoCancel, PromptIcon::Warning)) {
        case PromptAnswer::Yes:
            // A failed or cancelled save abandons the command that asked.
            if (!documentPath_.empty()) return saveTo(documentPath_);
            return saveAs();
        case PromptAnswer::No:
            return true;
        default:
            return false;
    }
}

bool DocumentLifecycle::newWaveform() {
    if (busyNew_) return false;
    BusyGuard guard(busyNew_);
    call(hooks_.pullOutputSettings);
    if (!saveModified()) return false;
    std::int64_t total = kNewTotalTime;
    std::int64_t sampling = kNewSamplingTime;
    std::uint32_t count = kNewSampleCount;
    if (!waveTime_.choose(total, sampling, count)) return false;
    call(hooks_.closeOutputWindow);
    if (!store_.newWaveform(sampling, count)) {
        prompter_.tell(kInvalidParameterMessage, PromptIcon::Warning);
        return false;
    }
    setPath({});
    call(hooks_.resetView);
    if (hooks_.setAnalogResolutionFromSelector) hooks_.setAnalogResolutionFromSelector(store_.analogResolution());
    resetFileState();
    return true;
}

bool DocumentLifecycle::openAfterPrompt(const std::optional<std::string>& path) {
    if (!path || path->empty()) return false;
    call(hooks_.closeOutputWindow);
    return openPath(*path);
}

bool DocumentLifecycle::open() {
    if (busyOpen_) return false;
    BusyGuard guard(busyOpen_);
    call(hooks_.pullOutputSettings);
    if (!saveModified()) return false;
    return openAfterPrompt(dialogs_.openFileName(kOpenFilter));
}

bool DocumentLifecycle::drop(const std::string& path) {
    if (busyOpen_) return false;
    BusyGuard guard(busyOpen_);
    call(hooks_.pullOutputSettings);
    if (!saveModified()) return false;
    return openAfterPrompt(path);
}

bool DocumentLifecycle::openPath(const std::string& path) {
    const auto format = document::formatOfPath(path);
    if (!format) return false;  // not ours: nothing happens, nothing is said
    const OpenOutcome outcome = store_.open(path, *format, extras_);
    if (!outcome.ok) {
        prompter_.tell(outcome.message, PromptIcon::Warning);
        return false;
    }
    setPath(*format == FileFormat::Syn ? document::convertedLegacyPath(path) : path);
    if (outcome.fullImport) {
        store_.setEditAllowed(!extras_.editLocked);
        if (hooks_.restoreViewState) hooks_.restoreViewState(extras_.viewState);
    } else {
        resetFileState();
        call(hooks_.resetView);
    }
    if (hooks_.setAnalogResolutionFromSelector) hooks_.setAnalogResolutionFromSelector(store_.analogResolution());
    return true;
}

bool DocumentLifecycle::saveTo(const std::string& path) {
    StoredExtras state = extras();
    if (hooks_.storeViewState) state.viewState = hooks_.storeViewState();
    std::string message;
    if (!store_.save(path, state, message)) {
        prompter_.tell(message, PromptIcon::Warning);
        return false;
    }
    if (!message.empty()) prompter_.tell(message, PromptIcon::Information);
    setPath(path);
    return true;
}

bool DocumentLifecycle::save() {
    if (busySave_) return false;
    BusyGuard guard(busySave_);
    if (documentPath_.empty()) return saveAs();
    call(hooks_.pullOutputSettings);
    return saveTo(documentPath_);
}

bool DocumentLifecycle::saveAs() {
    if (busySaveAs_) return false;
    BusyGuard guard(busySaveAs_);
    call(hooks_.pullOutputSettings);
    std::string initialName = bareTitle(documentPath_);
    for (;;) {
        auto chosen = dialogs_.saveFileName(kSaveFilter, kDefaultExtension, initialName);
        if (!chosen || chosen->empty()) return false;
        const std::string path = withDefaultExtension(*chosen, kDefaultExtension);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) return saveTo(path);
        const std::string question = fileNameOf(path) + kOverwriteQuestion;
        if (prompter_.ask(question, PromptButtons::YesNo, PromptIcon::Warning) == PromptAnswer::Yes)
            return saveTo(path);
        // No: the name is chosen again, as the save dialog does when it asks itself.
        initialName = fileNameOf(path);
    }
}

bool DocumentLifecycle::close() {
    call(hooks_.pullOutputSettings);
    if (!saveModified()) return false;
    call(hooks_.closeOutputWindow);
    call(hooks_.unloadDeviceLibrary);
    return true;
}

}  // namespace lyr::app
