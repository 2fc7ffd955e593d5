#include "activity/importreader.h"

#include "activity/activitytexts.h"
#include "activity/applehealth.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t chunkBytes = 1 << 20;
constexpr std::uint64_t bytesPerMegabyte = 1024 * 1024;

// libzip is opened at the first archive instead of being linked: with the
// libcrypto it brings, loading it cost every start of the window about a
// millisecond, for a kind of file most users never import.
struct LibZip {
    decltype(&zip_fdopen) fdopen = nullptr;
    decltype(&zip_discard) discard = nullptr;
    decltype(&zip_get_num_entries) getNumEntries = nullptr;
    decltype(&zip_stat_init) statInit = nullptr;
    decltype(&zip_stat_index) statIndex = nullptr;
    decltype(&zip_fopen_index) fopenIndex = nullptr;
    decltype(&zip_fread) fread = nullptr;
    decltype(&zip_fclose) fclose = nullptr;
    decltype(&zip_get_error) getError = nullptr;
    decltype(&zip_file_get_error) fileGetError = nullptr;
    decltype(&zip_error_init_with_code) errorInitWithCode = nullptr;
    decltype(&zip_error_strerror) errorStrerror = nullptr;
    decltype(&zip_error_fini) errorFini = nullptr;
};

// The library, or why it could not be opened.
struct LoadedLibZip {
    LibZip functions;
    std::string problem;
};

const LoadedLibZip &libZip()
{
    static const LoadedLibZip loaded = [] {
        LoadedLibZip out;
        void *handle = ::dlopen(ZPH_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char *reason = ::dlerror();
            out.problem = reason ? reason : ZPH_LIBZIP_SONAME;
            return out;
        }
        bool complete = true;
        const auto bind = [&](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                ::dlsym(handle, name));
            if (!function && complete) {
                complete = false;
                out.problem = std::string(ZPH_LIBZIP_SONAME) + ": " + name;
            }
        };
        LibZip &zip = out.functions;
        bind(zip.fdopen, "zip_fdopen");
        bind(zip.discard, "zip_discard");
        bind(zip.getNumEntries, "zip_get_num_entries");
        bind(zip.statInit, "zip_stat_init");
        bind(zip.statIndex, "zip_stat_index");
        bind(zip.fopenIndex, "zip_fopen_index");
        bind(zip.fread, "zip_fread");
        bind(zip.fclose, "zip_fclose");
        bind(zip.getError, "zip_get_error");
        bind(zip.fileGetError, "zip_file_get_error");
        bind(zip.errorInitWithCode, "zip_error_init_with_code");
        bind(zip.errorStrerror, "zip_error_strerror");
        bind(zip.errorFini, "zip_error_fini");
        // The library stays loaded for the program's life.
        return out;
    }();
    return loaded;
}

std::string systemReason(int error)
{
    return fillActivityText(activitytext::cannotRead, {std::strerror(error)});
}

ActivityFile refused(std::string reason)
{
    return ActivityFile{ActivityFormat::unknown, {}, std::move(reason)};
}

// Where bytes come from: a file descriptor, or a file inside a zip.
class Input {
  public:
    virtual ~Input() = default;
    // Up to `size` bytes; 0 at the end, -1 on failure (with error()).
    virtual long read(char *buffer, std::size_t size) = 0;
    // Back to the first byte; false when the input cannot go back.
    virtual bool rewind() = 0;
    virtual std::string error() const = 0;
};

class FdInput : public Input {
  public:
    explicit FdInput(int fd) : fd_(fd) {}

    long read(char *buffer, std::size_t size) override
    {
        for (;;) {
            const ssize_t count = ::read(fd_, buffer, size);
            if (count >= 0)
                return static_cast<long>(count);
            if (errno != EINTR) {
                error_ = errno;
                return -1;
            }
        }
    }

    bool rewind() override
    {
        if (::lseek(fd_, 0, SEEK_SET) == 0)
            return true;
        error_ = errno;
        return false;
    }

    std::string error() const override { return systemReason(error_); }

  private:
    int fd_;
    int error_ = 0;
};

class ZipEntryInput : public Input {
  public:
    ZipEntryInput(const LibZip &zip, zip_t *archive, zip_uint64_t index)
        : zip_(zip), archive_(archive), index_(index)
    {
        open();
    }
    ~ZipEntryInput() override { close(); }

    bool opened() const { return file_ != nullptr; }

    long read(char *buffer, std::size_t size) override
    {
        if (!file_)
            return -1;
        const zip_int64_t count = zip_.fread(file_, buffer, size);
        if (count < 0) {
            error_ = zip_.errorStrerror(zip_.fileGetError(file_));
            return -1;
        }
        return static_cast<long>(count);
    }

    bool rewind() override
    {
        close();
        return open();
    }

    std::string error() const override
    {
        return fillActivityText(activitytext::zipDamaged, {error_});
    }

  private:
    bool open()
    {
        file_ = zip_.fopenIndex(archive_, index_, 0);
        if (!file_)
            error_ = zip_.errorStrerror(zip_.getError(archive_));
        return file_ != nullptr;
    }

    void close()
    {
        if (file_)
            zip_.fclose(file_);
        file_ = nullptr;
    }

    const LibZip &zip_;
    zip_t *archive_;
    zip_uint64_t index_;
    zip_file_t *file_ = nullptr;
    std::string error_;
};

// Reads on while `more` says so, keeping what is read in `bytes` up to
// `limit` (past it, `overLimit`); progress is reported against `total`.
class Reading {
  public:
    Reading(Input &input, const ImportReadOptions &options, std::uint64_t total)
        : input_(input), options_(options), total_(total), buffer_(chunkBytes)
    {
    }

    // The next chunk, or an empty view at the end; nullopt on failure
    // (error() says why).
    std::optional<std::string_view> next()
    {
        const long count = input_.read(buffer_.data(), buffer_.size());
        if (count < 0) {
            error_ = input_.error();
            return std::nullopt;
        }
        done_ += static_cast<std::uint64_t>(count);
        if (options_.progress && !options_.progress(done_, total_)) {
            error_ = activitytext::cancelled;
            return std::nullopt;
        }
        return std::string_view(buffer_.data(), static_cast<std::size_t>(count));
    }

    // Appends chunks to `bytes` until it holds at least `atLeast` bytes or
    // the input ends; false on failure.
    bool fill(std::string &bytes, std::size_t atLeast, bool &ended)
    {
        ended = false;
        while (bytes.size() < atLeast) {
            const std::optional<std::string_view> chunk = next();
            if (!chunk)
                return false;
            if (chunk->empty()) {
                ended = true;
                return true;
            }
            bytes.append(*chunk);
        }
        return true;
    }

    void restart() { done_ = 0; }
    const std::string &error() const { return error_; }

  private:
    Input &input_;
    const ImportReadOptions &options_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    std::vector<char> buffer_;
    std::string error_;
};

// Apple Health's export from `head` on: through the scanner, and from the
// start again through the full reader when the scanner gives up.
ActivityFile streamAppleHealth(Input &input, Reading &reading, const std::string &head)
{
    {
        AppleHealthScanner scanner;
        bool going = scanner.feed(head);
        while (going) {
            const std::optional<std::string_view> chunk = reading.next();
            if (!chunk)
                return refused(reading.error());
            if (chunk->empty())
                break;
            going = scanner.feed(*chunk);
        }
        if (going) {
            if (std::optional<ActivityFile> file = scanner.finish())
                return std::move(*file);
        }
    }
    if (!input.rewind())
        return refused(input.error());
    reading.restart();
    AppleHealthXmlReader reader;
    for (;;) {
        const std::optional<std::string_view> chunk = reading.next();
        if (!chunk)
            return refused(reading.error());
        if (chunk->empty() || !reader.feed(*chunk))
            break;
    }
    return reader.finish();
}

// The head of an input, enough to tell its kind.
struct Head {
    std::string bytes;
    ImportKind kind = ImportKind::unknown;
    bool ended = false; // the head is the whole input
};

std::optional<Head> readHead(Reading &reading)
{
    constexpr std::size_t headBytes = 64 * 1024;
    Head head;
    for (std::size_t want = headBytes;; want *= 2) {
        if (!reading.fill(head.bytes, want, head.ended))
            return std::nullopt;
        const std::optional<ImportKind> kind = sniffImportKind(head.bytes, head.ended);
        if (kind) {
            head.kind = *kind;
            return head;
        }
        if (head.bytes.size() > maxImportBytes)
            return head; // a prolog past any file's: nothing known
    }
}

// The rest of an input after its head, whole, up to maxImportBytes; the
// reason when it cannot be read or is larger.
std::optional<std::string> readRest(Reading &reading, Head &head, const std::string &tooLarge,
                                    std::uint64_t size)
{
    // Room for all of it at once: growing by doubling would hold twice the
    // limit for a moment.
    if (!head.ended)
        head.bytes.reserve(static_cast<std::size_t>(std::min(size, maxImportBytes) + chunkBytes));
    while (!head.ended) {
        if (!reading.fill(head.bytes, head.bytes.size() + chunkBytes, head.ended))
            return reading.error();
        if (head.bytes.size() > maxImportBytes)
            return tooLarge;
    }
    return std::nullopt;
}

ActivityFile decodeWhole(const std::string &bytes, ImportKind kind,
                         const ImportReadOptions &options)
{
    if (kind == ImportKind::appleHealth)
        return decodeAppleHealth(bytes);
    DecodeOptions decode;
    decode.fitbitUnit = options.fitbitUnit;
    return decodeImportBytes(bytes, decode);
}

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string(bytes / bytesPerMegabyte);
}

// The files of a zip this program knows, by their names: Apple Health's
// export.xml (not export_cda.xml beside it), Withings' weight.csv, Fitbit's
// weight-YYYY-MM-DD.json. Their content still decides what they are.
bool isKnownEntry(std::string_view name)
{
    if (name.ends_with('/') || name.starts_with("__MACOSX/"))
        return false;
    const std::size_t slash = name.rfind('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (base == "export.xml" || base == "weight.csv")
        return true;
    constexpr std::string_view prefix = "weight-";
    constexpr std::string_view suffix = ".json";
    return base.size() == prefix.size() + 10 + suffix.size() && base.starts_with(prefix) &&
           base.ends_with(suffix);
}

// The known files of a zip as one input: their patches together, their
// refusals and failures named by the file inside.
ImportFile readZip(int fd, const std::string &name, const ImportReadOptions &options)
{
    ImportFile out;
    out.name = name;
    const LoadedLibZip &library = libZip();
    if (!library.problem.empty()) {
        ::close(fd);
        out.error = fillActivityText(activitytext::zipDamaged, {library.problem});
        return out;
    }
    const LibZip &zip = library.functions;
    int openError = 0;
    zip_t *archive = zip.fdopen(fd, ZIP_RDONLY, &openError);
    if (!archive) {
        ::close(fd);
        zip_error_t error;
        zip.errorInitWithCode(&error, openError);
        out.error = fillActivityText(activitytext::zipDamaged, {zip.errorStrerror(&error)});
        zip.errorFini(&error);
        return out;
    }
    const std::unique_ptr<zip_t, decltype(&zip_discard)> closer(archive, zip.discard);

    struct Entry {
        zip_uint64_t index;
        std::string name;
        std::uint64_t size;
    };
    std::vector<Entry> entries;
    std::uint64_t total = 0;
    const zip_int64_t count = zip.getNumEntries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip.statInit(&stat);
        if (zip.statIndex(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !stat.name ||
            !isKnownEntry(stat.name))
            continue;
        const std::uint64_t size = (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
        entries.push_back({static_cast<zip_uint64_t>(i), stat.name, size});
        total += size;
    }
    if (entries.empty()) {
        out.error = activitytext::zipNothingKnown;
        return out;
    }

    std::vector<std::string> failures;
    for (const Entry &entry : entries) {
        ZipEntryInput input(zip, archive, entry.index);
        ActivityFile file;
        if (!input.opened()) {
            file = refused(input.error());
        } else {
            Reading reading(input, options, total);
            std::optional<Head> head = readHead(reading);
            if (!head) {
                file = refused(reading.error());
            } else if (head->kind == ImportKind::appleHealth) {
                file = streamAppleHealth(input, reading, head->bytes);
            } else if (head->kind == ImportKind::unknown) {
                file = refused(activitytext::notImportFile);
            } else if (entry.size > maxImportBytes) {
                file = refused(
                    fillActivityText(activitytext::zipEntryTooLarge, {megabytes(entry.size)}));
            } else if (const std::optional<std::string> problem =
                           readRest(reading, *head,
                                    fillActivityText(activitytext::zipEntryTooLarge,
                                                     {megabytes(head->bytes.size())}),
                                    entry.size)) {
                file = refused(*problem);
            } else {
                file = decodeWhole(head->bytes, head->kind, options);
            }
        }
        if (file.needsWeightUnit) {
            out.needsWeightUnit = true;
            out.error = file.error;
        }
        if (!file.ok()) {
            failures.push_back(
                fillActivityText(activitytext::fileProblem, {entry.name, file.error}));
            continue;
        }
        const ImportFile inner = importFileOf(entry.name, file);
        if (out.format == ActivityFormat::unknown)
            out.format = inner.format;
        out.patches.insert(out.patches.end(), inner.patches.begin(), inner.patches.end());
        for (const std::string &refusal : inner.refusals)
            out.refusals.push_back(
                fillActivityText(activitytext::fileProblem, {entry.name, refusal}));
    }
    if (out.needsWeightUnit) {
        out.patches.clear();
        out.refusals.clear();
        return out;
    }
    // A file inside that cannot be read leaves the others to be taken; when
    // none can, the archive is what failed.
    if (out.patches.empty() && out.refusals.empty()) {
        out.error = failures.size() == 1 ? failures.front() : activitytext::zipNothingKnown;
        if (failures.size() > 1) {
            for (const std::string &failure : failures)
                out.error += "\n" + failure;
        }
        return out;
    }
    out.refusals.insert(out.refusals.begin(), failures.begin(), failures.end());
    return out;
}

} // namespace

ImportFile readImportInput(const std::string &path, const std::string &shownName,
                           const ImportReadOptions &options)
{
    const bool standardInput = path == "-";
    const std::string name = !shownName.empty() ? shownName
                             : standardInput    ? activitytext::standardInput
                                                : path;
    const auto failed = [&name](std::string reason) {
        ImportFile file;
        file.name = name;
        file.error = std::move(reason);
        return file;
    };

    const int fd =
        standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failed(systemReason(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        if (!standardInput)
            ::close(fd);
        return failed(systemReason(error));
    }
    if (S_ISDIR(status.st_mode)) {
        if (!standardInput)
            ::close(fd);
        return failed(activitytext::notAFile);
    }
    // Standard input, pipes, FIFOs and devices: a stream, held whole up to
    // the limit. Only a named regular file can be read again from its start.
    const bool stream = standardInput || !S_ISREG(status.st_mode);
    const std::uint64_t size = stream ? 0 : static_cast<std::uint64_t>(status.st_size);

    FdInput input(fd);
    Reading reading(input, options, size);
    ActivityFile file;
    std::optional<Head> head = readHead(reading);
    if (!head) {
        file = refused(reading.error());
    } else if (head->kind == ImportKind::zip && !stream) {
        return readZip(fd, name, options); // the archive now owns the descriptor
    } else if (head->kind == ImportKind::zip) {
        file = refused(activitytext::zipNotNamed);
    } else if (head->kind == ImportKind::appleHealth && !stream) {
        file = streamAppleHealth(input, reading, head->bytes);
    } else if (head->kind == ImportKind::unknown) {
        // Nothing that follows can make it a file to import: no need to read
        // on (through a gigabyte of zeros from a pipe, say).
        file = refused(activitytext::notImportFile);
    } else if (!stream && size > maxImportBytes) {
        file = refused(fillActivityText(activitytext::inputTooLarge, {megabytes(size)}));
    } else if (const std::optional<std::string> problem =
                   readRest(reading, *head,
                            stream ? std::string(activitytext::streamTooLarge)
                                   : fillActivityText(activitytext::inputTooLarge,
                                                      {megabytes(head->bytes.size())}),
                            stream ? maxImportBytes : size)) {
        file = refused(*problem);
    } else {
        file = decodeWhole(head->bytes, head->kind, options);
    }
    if (!standardInput)
        ::close(fd);
    return importFileOf(name, file);
}
