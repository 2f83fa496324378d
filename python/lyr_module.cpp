// The Python module lyr: waveforms as NumPy arrays, every lyrtool editor and
// the unit from a script. Each call runs the same command code as lyrtool
// (its option table, forms and messages), with what lyrtool would print
// captured and turned into return values, warnings and exceptions.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cstdint>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "command.h"
#include "common.h"
#include "device_session.h"
#include "edit_family.h"
#include "info.h"

namespace py = pybind11;
namespace doc = lyr::document;

namespace {

// The exceptions the module raises; their text is lyrtool's message.
struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};
struct FileError : Error {
    using Error::Error;
};
struct EditError : Error {
    using Error::Error;
};
struct DeviceError : Error {
    using Error::Error;
};
struct LockedError : EditError {
    using EditError::EditError;
};

// What a command printed on stderr, each line without its "lyrtool COMMAND: "
// and without the hint to run lyrtool --help.
std::string messageText(const std::string& err) {
    std::string text;
    std::size_t from = 0;
    while (from < err.size()) {
        std::size_t end = err.find('\n', from);
        if (end == std::string::npos) end = err.size();
        std::string line = err.substr(from, end - from);
        from = end + 1;
        if (line.empty() || line.starts_with("Try 'lyrtool ")) continue;
        if (line.starts_with("lyrtool ")) {
            // "lyrtool edit: ..." - the command is one word
            const std::size_t colon = line.find(": ");
            if (colon != std::string::npos && line.find(' ', 8) >= colon) line.erase(0, colon + 2);
        }
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

// Runs one command function with its printing captured, the GIL released.
// Returns the exit status; err receives the messages.
template <class F>
int runCaptured(std::string& err, F&& f) {
    py::gil_scoped_release release;
    lyrtool::CapturedOutput capture;
    const int rc = f();
    err = std::move(capture.err);
    return rc;
}

// The messages of a call that succeeded (a period moved onto the sampling
// grid, a file rewritten in place) become Python warnings.
void warnAbout(const std::string& err) {
    const std::string text = messageText(err);
    if (!text.empty() && PyErr_WarnEx(PyExc_UserWarning, text.c_str(), 1) != 0) throw py::error_already_set();
}

// A keyword value as lyrtool reads it on its command line.
std::string argumentText(const py::handle& value) {
    if (py::isinstance<py::str>(value)) return value.cast<std::string>();
    if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "1" : "0";
    return py::str(value).cast<std::string>();
}

// Keywords as lyrtool options: name_with_underscores=value is
// "--name-with-underscores value"; True is the flag alone and False leaves
// it out; a list repeats the option once per element, in order, except for
// an option that takes a comma list, which gets its elements joined.
std::vector<std::string> keywordArguments(const py::kwargs& kw, const std::set<std::string>& flags,
                                          const std::set<std::string>& commaLists) {
    std::vector<std::string> args;
    for (const auto& [key, value] : kw) {
        std::string option = "--" + key.cast<std::string>();
        std::replace(option.begin(), option.end(), '_', '-');
        if (value.is_none()) continue;
        if (py::isinstance<py::bool_>(value) && flags.count(option)) {
            if (value.cast<bool>()) args.push_back(option);
            continue;
        }
        const bool isList = py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value);
        if (!isList) {
            args.insert(args.end(), {option, argumentText(value)});
        } else if (commaLists.count(option)) {
            std::string joined;
            for (const auto& element : value) {
                if (!joined.empty()) joined += ',';
                joined += argumentText(element);
            }
            args.insert(args.end(), {option, joined});
        } else {
            for (const auto& element : value) {
                if (flags.count(option)) {
                    if (py::cast<bool>(element)) args.push_back(option);
                } else {
                    args.insert(args.end(), {option, argumentText(element)});
                }
            }
        }
    }
    return args;
}

// Packs eight 0/1 lanes into one byte per sample (bit k = CHk), and back.
void packLanes(const doc::CSYNDoc& d, std::uint8_t* packed, std::uint32_t n) {
    std::fill(packed, packed + n, 0);
    for (int k = 0; k < doc::kDigitalChannels; ++k) {
        const std::uint8_t* lane = d.digital(k);
        for (std::uint32_t i = 0; i < n; ++i) packed[i] |= static_cast<std::uint8_t>((lane[i] != 0) << k);
    }
}
void unpackLanes(doc::CSYNDoc& d, const std::uint8_t* packed, std::uint32_t n) {
    for (int k = 0; k < doc::kDigitalChannels; ++k) {
        std::uint8_t* lane = d.digital(k);
        for (std::uint32_t i = 0; i < n; ++i) lane[i] = static_cast<std::uint8_t>((packed[i] >> k) & 1);
    }
}

class Waveform {
public:
    explicit Waveform(lyrtool::OpenedWaveform w, std::string name)
        : w_(std::move(w)), name_(std::move(name)) {}

    static std::unique_ptr<Waveform> create(const py::kwargs& kw) {
        std::vector<std::string> args = keywordArguments(kw, {}, {});
        lyrtool::ParsedArgs parsed;
        lyrtool::OpenedWaveform w;
        std::string err;
        const int rc = runCaptured(err, [&] { return lyrtool::newWaveform(args, 0, parsed, w); });
        if (rc == lyrtool::kUsage) throw EditError(messageText(err));
        if (rc != lyrtool::kOk) throw FileError(messageText(err));
        return std::make_unique<Waveform>(std::move(w), "(new waveform)");
    }

    static std::unique_ptr<Waveform> open(const std::string& path) {
        lyrtool::OpenedWaveform w;
        std::string err;
        if (runCaptured(err, [&] { return lyrtool::openWaveform("open", path, w); }) != lyrtool::kOk)
            throw FileError(messageText(err));
        auto waveform = std::make_unique<Waveform>(std::move(w), path);
        warnAbout(err);
        return waveform;
    }

    std::int64_t samplingNs() const { return w_.doc->samplingTime(); }
    std::uint32_t count() const { return w_.doc->sampleCount(); }
    std::uint64_t totalNs() const { return w_.doc->totalTime(); }
    int resolution() const { return w_.doc->analogResolution(); }
    bool editLocked() const { return w_.extras.editLocked; }
    void setEditLocked(bool locked) { w_.extras.editLocked = locked; }

    py::array analog(py::handle self) {
        return py::array_t<double>({static_cast<py::ssize_t>(count())}, {static_cast<py::ssize_t>(sizeof(double))},
                                   w_.doc->analog(), self);
    }

    py::array digital(py::handle self) {
        if (!packed_) {
            // At full capacity, as the lanes: the buffer never moves.
            std::lock_guard lock(mutex_);
            packed_.reset(new std::uint8_t[doc::kMaxSamples]);
            packLanes(*w_.doc, packed_.get(), count());
        }
        return py::array_t<std::uint8_t>({static_cast<py::ssize_t>(count())}, {py::ssize_t{1}}, packed_.get(),
                                         self);
    }

    py::array_t<std::uint8_t> channel(int k) {
        checkChannel(k);
        std::lock_guard lock(mutex_);
        flushView();
        py::array_t<std::uint8_t> levels(count());
        std::copy_n(w_.doc->digital(k), count(), levels.mutable_data());
        return levels;
    }

    void setChannel(int k, const py::array_t<std::uint8_t, py::array::c_style | py::array::forcecast>& levels) {
        checkChannel(k);
        if (levels.ndim() != 1 || levels.shape(0) != static_cast<py::ssize_t>(count()))
            throw py::value_error("levels must hold one value per sample (" + std::to_string(count()) + ")");
        const std::uint8_t* v = levels.data();
        if (std::any_of(v, v + count(), [](std::uint8_t x) { return x > 1; }))
            throw py::value_error("levels are 0 or 1");
        std::lock_guard lock(mutex_);
        flushView();
        std::copy_n(v, count(), w_.doc->digital(k));
        refreshView();
    }

    void edit(const std::string& editor, bool force, const py::kwargs& kw) {
        std::set<std::string> flags{"--force"}, commaLists;
        for (const auto& f : lyrtool::editFamilies()) {
            flags.insert(f.flagOptions.begin(), f.flagOptions.end());
            commaLists.insert(f.commaListOptions.begin(), f.commaListOptions.end());
        }
        std::vector<std::string> args = keywordArguments(kw, flags, commaLists);
        args.insert(args.begin(), editor);
        if (force) args.push_back("--force");
        lyrtool::EditOutcome outcome;
        std::string err;
        const int rc = runCaptured(err, [&] {
            std::lock_guard lock(mutex_);
            lyrtool::ParsedArgs parsed;
            const lyrtool::EditFamily* family = nullptr;
            if (int r = lyrtool::parseEdit(args, 0, parsed, family); r != lyrtool::kOk) return r;
            flushView();
            const int r = lyrtool::applyEdit(parsed, *family, name_, *w_.doc, w_.extras, outcome);
            if (r == lyrtool::kOk) refreshView();
            return r;
        });
        if (outcome.locked) throw LockedError(messageText(err));
        if (rc != lyrtool::kOk) throw EditError(messageText(err));
        warnAbout(err);
    }

    bool undo() {
        std::lock_guard lock(mutex_);
        flushView();
        const auto kind = w_.doc->undo();
        if (kind && *kind == doc::kUndoTimeBase) w_.extras.viewState = lyrtool::resetViewRecord(count());
        refreshView();
        return kind.has_value();
    }

    py::dict info() {
        std::string text;
        {
            std::lock_guard lock(mutex_);
            text = lyrtool::waveformInfo(w_).dump();
        }
        return py::module_::import("json").attr("loads")(text);
    }

    void save(const std::string& path) {
        std::string err;
        const int rc = runCaptured(err, [&] {
            std::lock_guard lock(mutex_);
            flushView();
            return lyrtool::saveWaveform("save", path, *w_.doc, w_.extras);
        });
        if (rc != lyrtool::kOk) throw FileError(messageText(err));
        warnAbout(err);
    }

    // For the unit: the document with the view's writes in it.
    template <class F>
    int withDocument(F&& f) {
        std::lock_guard lock(mutex_);
        flushView();
        return f(*w_.doc);
    }

private:
    void checkChannel(int k) const {
        if (k < 0 || k >= doc::kDigitalChannels) throw py::index_error("a channel is 0 to 7");
    }
    // The packed view's writes into the document's lanes, and back after the
    // document changed them.
    void flushView() {
        if (packed_) unpackLanes(*w_.doc, packed_.get(), count());
    }
    void refreshView() {
        if (packed_) packLanes(*w_.doc, packed_.get(), count());
    }

    lyrtool::OpenedWaveform w_;
    std::string name_;
    std::unique_ptr<std::uint8_t[]> packed_;  // the digital view, made on first use
    std::mutex mutex_;
};

class Unit {
public:
    explicit Unit(const std::string& serial) : session_(std::make_unique<lyrtool::Session>("unit")) {
        std::string err;
        if (runCaptured(err, [&] { return session_->open(serial); }) != lyrtool::kOk) {
            session_.reset();
            throw DeviceError(messageText(err));
        }
    }

    void upload(Waveform& w) {
        call("upload", [&] {
            return w.withDocument([&](doc::CSYNDoc& d) { return lyrtool::uploadDocument(*session_, d); });
        });
    }
    void playback(const char* command, lyrtool::Playback which) {
        call(command, [&] { return lyrtool::playback(*session_, which); });
    }
    py::dict status() {
        lyrtool::Json out;
        call("status", [&] { return lyrtool::readStatus(*session_, out); });
        return py::module_::import("json").attr("loads")(out.dump());
    }
    void close() {
        py::gil_scoped_release release;
        std::lock_guard lock(mutex_);
        session_.reset();
    }

private:
    template <class F>
    void call(const char* command, F&& f) {
        std::string err;
        bool closed = false;
        const int rc = runCaptured(err, [&]() -> int {
            std::lock_guard lock(mutex_);
            if (!session_) return closed = true, lyrtool::kNoDevice;
            session_->setCommand(command);
            return f();
        });
        if (closed) throw DeviceError("the unit is closed");
        if (rc != lyrtool::kOk) throw DeviceError(messageText(err));
    }

    std::unique_ptr<lyrtool::Session> session_;
    std::mutex mutex_;
};

std::vector<std::string> devices() {
    std::vector<std::string> serials;
    std::string err;
    if (runCaptured(err, [&] {
            lyrtool::Session session("devices");
            return lyrtool::listSerials(session, serials);
        }) != lyrtool::kOk)
        throw DeviceError(messageText(err));
    return serials;
}

std::string pathText(const py::object& path) {
    return py::module_::import("os").attr("fsdecode")(path).cast<std::string>();
}

}  // namespace

PYBIND11_MODULE(lyr, m) {
#ifdef __GLIBC__
    // An edit of a long waveform takes work buffers of up to 8 MiB per track
    // and frees them. A C++ program's malloc soon keeps such blocks (its mmap
    // threshold follows the first large free); in an interpreter the freed
    // heap is handed back and every edit faults its buffers in again, a
    // quarter of an edit's time. Fixed thresholds keep them, as lyrtool does.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    m.doc() =
        "Waveforms of the PGX-500 as NumPy arrays, every lyrtool editor and the unit\n"
        "from a script.\n\n"
        "Every call runs lyrtool's own code: the same option table, forms, rules,\n"
        "messages and file bytes. A failed call changes nothing and raises one of\n"
        "lyr.FileError, lyr.EditError (lyr.LockedError) or lyr.DeviceError with\n"
        "lyrtool's message; what lyrtool reports on a successful call (a period\n"
        "moved onto the sampling grid) comes as a UserWarning.\n\n"
        "On import the module sets glibc's malloc to keep freed blocks of up to\n"
        "32 MiB (64 MiB of free heap) rather than hand them back, so that the work\n"
        "buffers of repeated edits are not faulted in again each time.";

    auto error = py::register_exception<Error>(m, "Error", PyExc_RuntimeError);
    error.doc() = "Base class of the module's errors.";
    auto fileError = py::register_exception<FileError>(m, "FileError", error);
    fileError.doc() = "A waveform file was refused or could not be written; the reader's or writer's message.";
    auto editError = py::register_exception<EditError>(m, "EditError", error);
    editError.doc() = "An invalid editor option, named as lyrtool names it, or an edit the editor refused.";
    auto lockedError = py::register_exception<LockedError>(m, "LockedError", editError);
    lockedError.doc() = "An edit of a waveform whose edit lock is on; edit(..., force=True) goes past it.";
    auto deviceError = py::register_exception<DeviceError>(m, "DeviceError", error);
    deviceError.doc() = "No D2XX library or unit, a link fault, or a command the unit refused.";

    py::class_<Waveform>(m, "Waveform",
                         "One waveform: an analog track and eight digital channels CH0..CH7 on one time base,\n"
                         "with the output settings, editor settings and one level of undo, as the editor holds it.")
        .def_static("new", &Waveform::create,
                    ""
                    "A new waveform as `lyrtool new` makes it: 0 V, all channels low, default settings.\n"
                    "Keywords: sampling= (TIME, a multiple of 10 ns) and count=, or total= (TIME; the time base\n"
                    "the total-time dialog selects). TIME is a string such as \"10ns\" or \"1ms\".\n"
                    "Raises EditError on a value lyrtool refuses.")
        .def_static(
            "open", [](const py::object& path) { return Waveform::open(pathText(path)); }, py::arg("path"),
            ""
            "Opens a .lyr or .syn file as the editor opens it (a .syn file is converted; a file of\n"
            "another format version gets the reduced import). Raises FileError with the reader's\n"
            "message. Releases the GIL while reading.")
        .def_property_readonly("sampling_ns", &Waveform::samplingNs, "Sampling time in ns (int).")
        .def_property_readonly("count", &Waveform::count, "Number of samples (int).")
        .def_property_readonly("total_ns", &Waveform::totalNs, "Total time in ns (int).")
        .def_property(
            "resolution", &Waveform::resolution,
            [](py::object self, int bits) {
                self.attr("edit")("resolution", py::arg("bits") = bits);
            },
            "Analog bits, 8..14 (the digital channels are CH0..CH(15-R)). Setting it is\n"
            "edit(\"resolution\", bits=R): EditError outside 8..14, LockedError when locked.")
        .def_property("edit_locked", &Waveform::editLocked, &Waveform::setEditLocked,
                      "The file's edit lock (bool). While on, edit() raises LockedError unless force=True;\n"
                      "it is saved with the file.")
        .def_property_readonly(
            "analog", [](py::object self) { return self.cast<Waveform&>().analog(self); },
            "The analog track in volts: a writable float64 NumPy view of the document's own samples,\n"
            "shape (count,), no copy. The view keeps the Waveform alive. The track never moves, but\n"
            "an edit that changes the time base (total-time, or undoing one) changes count: views\n"
            "taken before it are stale (they keep the old length); read w.analog again.\n"
            "Writing it is not an edit: no undo step, and the edit lock does not apply.")
        .def_property_readonly(
            "digital", [](py::object self) { return self.cast<Waveform&>().digital(self); },
            "The digital channels: a writable uint8 NumPy array, shape (count,), bit k = CHk.\n"
            "The document keeps each channel as its own lane of 0/1 bytes, so this is a packed\n"
            "buffer the Waveform owns, no copy per access: every call that reads the channels\n"
            "(edit, save, upload, channel, set_channel, undo) first takes the view's bytes into\n"
            "the lanes, and every call that may change them writes them back into the view.\n"
            "The view keeps the Waveform alive; after a time-base change read w.digital again.\n"
            "Writing it is not an edit: no undo step, and the edit lock does not apply.")
        .def("channel", &Waveform::channel, py::arg("k"),
             "A copy of channel CHk (k = 0..7) as uint8 levels 0 or 1.")
        .def("set_channel", &Waveform::setChannel, py::arg("k"), py::arg("levels"),
             "Writes channel CHk from count levels 0 or 1 (ValueError otherwise).\n"
             "Like writing the views it is no edit: no undo step, no lock check.")
        .def("edit", &Waveform::edit, py::arg("editor"), py::kw_only(), py::arg("force") = false,
             ""
             "Makes one edit with `lyrtool edit`'s editor of that name (see `lyrtool edit --help`)\n"
             "and the same option table and forms: each keyword is the option with dashes as\n"
             "underscores (sine_period=\"1ms\" is --sine-period 1ms); values are as lyrtool takes\n"
             "them (strings with units, numbers). True gives a flag (dc=True is --dc), False or None\n"
             "leaves the option out; a list repeats the option in order (gain=[2, 0.5]) or, for an\n"
             "option that takes a comma list (channels=[0, 1]), is joined with commas. Options not\n"
             "given keep the values remembered in the waveform. force=True edits a locked waveform\n"
             "as --force does.\n\n"
             "Raises EditError (an invalid option, named as lyrtool names it, or a refused edit) or\n"
             "LockedError; the waveform is then unchanged. Releases the GIL while editing.")
        .def("undo", &Waveform::undo,
             "Restores the state before the last edit (the document's one level of\n"
             "undo); False when there is nothing to undo.")
        .def("info", &Waveform::info,
             "The waveform as `lyrtool info --json` shows a file: the same keys and values.")
        .def(
            "save", [](Waveform& w, const py::object& path) { w.save(pathText(path)); }, py::arg("path"),
            "Saves in the current .lyr format as the editor's Save does: atomically, the old\n"
            "file left intact when writing fails (FileError with the writer's message). Releases\n"
            "the GIL while writing.");

    py::class_<Unit>(m, "Unit",
                     "One PGX-500, opened through the D2XX library lyrtool uses (LYR_D2XX_LIBRARY, else the\n"
                     "installed library) and held open until close(). Use `with lyr.Unit() as u:`.\n"
                     "Raises DeviceError with lyrtool's message when there is no library or unit.")
        .def(py::init([](const py::object& serial) {
                 return std::make_unique<Unit>(serial.is_none() ? std::string() : serial.cast<std::string>());
             }),
             py::kw_only(), py::arg("serial") = py::none(),
             "The unit with that serial number, else the first PGX-500.")
        .def("upload", &Unit::upload, py::arg("waveform"),
             "Writes the waveform's output settings, resolution, time base and samples into\n"
             "the unit, as `lyrtool upload` does; refused (DeviceError) while the unit runs.\n"
             "Releases the GIL while sending.")
        .def("start", [](Unit& u) { u.playback("start", lyrtool::Playback::Start); },
             "Starts playback, as `lyrtool start` (refused unless the unit is Ready under\n"
             "software start control).")
        .def("stop", [](Unit& u) { u.playback("stop", lyrtool::Playback::Stop); },
             "Stops playback, as `lyrtool stop`.")
        .def("force_stop", [](Unit& u) { u.playback("force-stop", lyrtool::Playback::ForceStop); },
             "Stops playback at once, as `lyrtool force-stop`.")
        .def("status", &Unit::status,
             "The unit's status and held settings with the keys of `lyrtool status --json`.")
        .def("close", &Unit::close, "Closes the unit; later calls raise DeviceError.")
        .def("__enter__", [](py::object self) { return self; }, "Returns the unit.")
        .def(
            "__exit__", [](Unit& u, const py::args&) { u.close(); }, "Closes the unit.");

    m.def("devices", &devices,
          "The serial numbers of the connected PGX-500 units, as `lyrtool devices`\n"
          "lists them (an empty list when none is connected). DeviceError without the D2XX library.");
}
