#include "cli/clirun.h"

#include "activity/activitytexts.h"
#include "activity/runimport.h"
#include "advisor/advisormessage.h"
#include "cli/cliarguments.h"
#include "cli/clitexts.h"
#include "cli/journalcheck.h"
#include "cli/journalcsv.h"
#include "cli/progresscsv.h"
#include "dialogs/uitext.h"
#include "entry/cp932.h"
#include "entry/dayentry.h"
#include "faces/designfaces.h"
#include "graph/graphrenderer.h"
#include "journal/cquilloxdoc.h"
#include "journal/safesave.h"
#include "list/listline.h"
#include "session/journalcompanion.h"
#include "session/journalsession.h"
#include "session/pathnames.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"
#include "session/userprofile.h"
#include "trend/monthlysummary.h"
#include "trend/trend.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPalette>
#include <QPdfWriter>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef ZPH_VERSION
#define ZPH_VERSION "0"
#endif

namespace {

using clitext::fillText;

// The screen the PNG stands for, and the printer the PDF stands for.
constexpr int screenDpi = 96;
constexpr double metresPerInch = 0.0254;
constexpr int printerDpi = 1200;

// Names that mean standard input or output instead of a file.
bool isStandardStream(const std::string &name)
{
    return name.empty() || name == "-";
}

void writeOut(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A message of the program (message boxes break lines with CR LF; a terminal
// wants LF), after the program's name.
void writeError(std::string_view text)
{
    std::string line = "zeph: ";
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
            continue;
        }
        line += text[pos];
    }
    if (!line.ends_with('\n')) {
        line += '\n';
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void writeQtError(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    writeError(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// A standard stream the caller closed (`<&-`, `>&-`) is given a placeholder
// that fails every read or write: otherwise the next file opened (the lock,
// an output file) would take its number, and the journal's lock would
// receive the listing. Reading or writing it then fails and is reported.
void holdClosedStandardStreams()
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // Opened the other way round: input that cannot be read, output
        // that cannot be written.
        const int flags = fd == STDIN_FILENO ? O_WRONLY : O_RDONLY;
        const int placeholder = ::open("/dev/null", flags | O_CLOEXEC);
        if (placeholder >= 0 && placeholder != fd) {
            ::dup2(placeholder, fd);
            ::close(placeholder);
        }
    }
}

// Standard output could not take everything (a full disk, a closed pipe).
int finishOutput()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        writeError(clitext::outputFailed);
        return exitJournalFailure;
    }
    return exitSuccess;
}

// The journal a command works on, as the system names it: --file, or the
// current user's (relative to the working folder).
std::string journalName(const CliRequest &request)
{
    if (!request.file.empty()) {
        return request.file;
    }
    const std::unique_ptr<QSettings> profile = openUserProfile();
    const ProfileUsers users = readProfileUsers(*profile);
    return CQuilloxDoc::journalFileName(users.crntUserNum);
}

// The journal's full path as the session holds it; empty, reported, when its
// name (or the working folder's) is not text and so cannot be opened under
// its own name (status 2).
QString journalPath(const CliRequest &request)
{
    QString problem;
    const QString path = journalPathText(journalName(request), &problem);
    if (path.isEmpty()) {
        writeQtError(problem);
        return {};
    }
    return JournalSession::fullPath(path);
}

// The journal, locked and loaded as the window loads it. Reports a failure
// (and the lines a damaged journal loses) on standard error. Only a command
// that stores copies a damaged journal aside, as the window does: one that
// only reads writes nothing into the journal's folder.
class OpenJournal {
  public:
    // A command that stores (`creates`) makes a journal that does not exist
    // yet, as the window does for the current user; one that only reads
    // refuses a named file that is not there.
    OpenJournal(const CliRequest &request, bool creates)
        : document_(todayDate()), session_(document_, nullptr)
    {
        const QString path = journalPath(request);
        if (path.isEmpty()) {
            status_ = exitBadInput;
            return;
        }
        session_.setKeepsDamagedCopies(creates);
        const JournalSession::OpenMode mode = request.file.empty() || creates
                                                  ? JournalSession::OpenMode::currentUser
                                                  : JournalSession::OpenMode::named;
        const OpenOutcome outcome = session_.open(path, mode, todayDate());
        if (outcome.status == OpenOutcome::Status::failed) {
            writeQtError(openFailureMessage(outcome));
            return;
        }
        if (outcome.damaged()) {
            writeQtError(skippedLinesMessage(outcome));
        }
        // Days the window registered but never stored would be lost when the
        // user restores them over what this command stores.
        if (creates) {
            if (const RecoveryFile recovery = session_.findRecovery();
                recovery.state != RecoveryFile::State::none) {
                writeQtError(ui(sessiontext::recoveryPending).arg(recovery.path));
                return;
            }
        }
        opened_ = true;
        status_ = exitSuccess;
    }

    bool opened() const { return opened_; }
    // The exit status of a journal that could not be opened.
    int failureStatus() const { return status_; }
    QString path() const { return session_.path(); }
    CQuilloxDoc &document() { return document_; }

    // Stores the journal; false (reported) when it could not be.
    bool store()
    {
        const StoreOutcome outcome = session_.store();
        if (!outcome.stored) {
            writeQtError(storeFailureMessage(outcome));
            return false;
        }
        if (outcome.backupFailure.failed()) {
            writeQtError(backupWarningMessage(outcome));
        }
        if (!outcome.conflictCopyPath.isEmpty()) {
            writeQtError(conflictCopyMessage(outcome));
        }
        return true;
    }

  private:
    CQuilloxDoc document_; // declared first: the session refers to it
    JournalSession session_;
    bool opened_ = false;
    int status_ = exitJournalFailure;
};

QString shownName(const std::string &name)
{
    return shownNativeName(name);
}

// Reads a whole file, or standard input; reports a failure in the window's
// words.
bool readInput(const std::string &name, std::string &bytes)
{
    if (isStandardStream(name)) {
        char buffer[65536];
        std::size_t count = 0;
        while ((count = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
            bytes.append(buffer, count);
        }
        if (std::ferror(stdin)) {
            const int error = errno;
            writeError(fillText(clitext::inputFailed, {std::strerror(error)}));
            return false;
        }
        return true;
    }
    std::string error;
    FileProblem problem = FileProblem::none;
    if (!readFileBytes(name, bytes, error, &problem)) {
        writeQtError(
            ui(sessiontext::cannotOpen)
                .arg(shownName(name),
                     reasonText(SessionFailure{problem, false, QString::fromLocal8Bit(error)})));
        return false;
    }
    return true;
}

// A FIFO or a device takes the bytes as a stream: it cannot be replaced by
// a rename, and there is no earlier file to keep.
bool isStreamFile(const std::string &name)
{
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0 &&
           (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode));
}

int writeStreamFile(const std::string &name, std::string_view bytes)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    int error = fd < 0 ? errno : 0;
    for (std::size_t done = 0; error == 0 && done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno != EINTR) {
            error = errno;
        } else if (written > 0) {
            done += static_cast<std::size_t>(written);
        }
    }
    if (fd >= 0 && ::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    if (error != 0) {
        const SessionFailure failure{fileProblemOf(error), false,
                                     QString::fromLocal8Bit(std::strerror(error))};
        writeQtError(ui(sessiontext::cannotStore).arg(shownName(name), reasonText(failure)));
        return exitJournalFailure;
    }
    return exitSuccess;
}

// An output named as the journal or one of its companions (its .bak, lock
// or kept copies) is refused before anything is written: an export must
// never replace the journal it exports.
bool refuseCompanionOutput(const QString &journal, const std::string &name)
{
    if (isStandardStream(name) || !isJournalCompanion(nativePath(journal), name)) {
        return false;
    }
    writeQtError(
        QString::fromUtf8(fillText(clitext::outputIsJournalCompanion,
                                   {shownName(name).toStdString(), journal.toStdString()})));
    return true;
}

// Writes a file the command produces: a regular file through the one safe
// save, so that a failure leaves an earlier file as it was; standard output,
// a FIFO or a device directly.
int writeOutputFile(const std::string &name, std::string_view bytes)
{
    if (isStandardStream(name)) {
        writeOut(bytes);
        return finishOutput();
    }
    if (isStreamFile(name)) {
        return writeStreamFile(name, bytes);
    }
    const SaveResult saved = saveFileAtomically(name, bytes, false);
    if (!saved.saved) {
        const SessionFailure failure{saved.problem, false,
                                     QString::fromLocal8Bit(saved.systemReason)};
        writeQtError(ui(sessiontext::cannotStore).arg(shownName(name), reasonText(failure)));
        return exitJournalFailure;
    }
    return exitSuccess;
}

// Message boxes break lines with CR LF; a terminal wants LF.
std::string withLineFeeds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (!(text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n')) {
            out += text[pos];
        }
    }
    return out;
}

int runAdd(const CliRequest &request)
{
    OpenJournal journal(request, true);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    CQuilloxDoc &doc = journal.document();
    const Date date = request.date.value_or(todayDate());
    // The form as it shows the day, with the fields given typed over it.
    DayTexts texts = textsForDay(doc.findDay(date));
    const auto typeOver = [](std::string &field, const std::optional<std::string> &given) {
        if (given) {
            field = *given;
        }
    };
    typeOver(texts.weight, request.weight);
    typeOver(texts.fatPercent, request.fatPercent);
    typeOver(texts.jogDistance, request.jogDistance);
    typeOver(texts.jogDuration, request.jogDuration);
    typeOver(texts.walkDistance, request.walkDistance);
    typeOver(texts.walkDuration, request.walkDuration);
    typeOver(texts.memo, request.memo);
    const DayReading reading = registerDay(doc, date, texts, TypedEncoding::utf8);
    if (!reading.day) {
        writeError(reading.message);
        return exitBadInput;
    }
    return journal.store() ? exitSuccess : exitJournalFailure;
}

int runShow(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    const CQuilloxDoc::DayList &days = journal.document().dayList();
    const auto first = request.from ? days.lower_bound(*request.from) : days.begin();
    const auto end = request.to ? days.upper_bound(*request.to) : days.end();
    // Written a piece at a time: a long journal's lines never sit in memory
    // at once, twice (code page 932 and UTF-8).
    constexpr std::size_t pieceBytes = 64 * 1024;
    std::string lines; // code page 932, as the list pane holds them
    lines.reserve(pieceBytes + 1024);
    for (auto it = end; it != first;) {
        --it;
        lines += listLine(it->second);
        lines += '\n';
        if (lines.size() >= pieceBytes) {
            writeOut(decodeCp932(lines).utf8);
            lines.clear();
        }
    }
    writeOut(decodeCp932(lines).utf8);
    return finishOutput();
}

int runAdvice(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    // The remark on a long rest is drawn at random, as the window draws it.
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const Date today = todayDate();
    const CQuilloxDoc &doc = journal.document();
    const std::optional<JournalTrends> trends =
        request.trend ? std::optional(journalTrends(doc.dayList())) : std::nullopt;
    const std::string message = composeAdvisorMessage(doc, request.date.value_or(today), today,
                                                      standardRandom, trends ? &*trends : nullptr);
    std::string text = withLineFeeds(message);
    while (text.ends_with('\n')) {
        text.pop_back();
    }
    writeOut(text + "\n");
    return finishOutput();
}

// The graph as the pane shows it on a 96-dpi screen of the given size, as PNG:
// at device pixel ratio `scale`, as on a scaled desktop, scale times as many
// pixels each way.
QByteArray screenGraphPng(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                          int width, int height, double scale, const GraphOverlays &overlays)
{
    QImage image(qRound(width * scale), qRound(height * scale), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    const int dotsPerMetre = qRound(screenDpi / metresPerInch);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(QGuiApplication::palette().color(QPalette::Base));
    {
        QPainter painter(&image);
        drawGraph(painter, doc, selected, period, QRect(0, 0, width, height), screenGraphK, false,
                  overlays);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// The printed page: A4 in the journal's paper orientation, on a 1200-dpi
// printer's printable area, as PDF.
QByteArray printedGraphPdf(const CQuilloxDoc &doc, Date selected, GraphPeriodState &period,
                           const GraphOverlays &overlays)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(printerDpi);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(doc.graphSettings.paperOri == paperLandscape
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait);
        writer.setCreator(ui(applicationTitle));
        QPainter painter(&writer);
        drawGraph(painter, doc, selected, period, QRect(0, 0, writer.width(), writer.height()),
                  paperGraphK, true, overlays);
    }
    return pdf;
}

// Qt's own notes (a missing runtime folder, a font fallback) are no business
// of a script reading zeph's standard error; only real failures get through.
void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        writeQtError(message);
    }
}

int runGraph(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    CQuilloxDoc &doc = journal.document();
    if (request.graphNDays) {
        doc.graphSettings.graphNDays = *request.graphNDays; // for this drawing only
    }
    // The period the pane opens on when the selected day is today.
    const Date selected = request.date.value_or(todayDate());
    GraphPeriodState period = graphPeriodStateFor(doc, selected);

    // Drawing text needs a GUI application; the offscreen platform gives one
    // without a display, whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(qtMessage);
    int argc = 1;
    char name[] = "zeph";
    char *argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    installFontSubstitutes();

    if (refuseCompanionOutput(journal.path(), request.output)) {
        return exitBadInput;
    }
    const std::optional<JournalTrends> trends =
        request.trend ? std::optional(journalTrends(doc.dayList())) : std::nullopt;
    const GraphOverlays overlays{trends ? &*trends : nullptr, request.goal};
    const QByteArray bytes = request.pdf ? printedGraphPdf(doc, selected, period, overlays)
                                         : screenGraphPng(doc, selected, period, request.width,
                                                          request.height, request.scale, overlays);
    return writeOutputFile(
        request.output,
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

int runExportCsv(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    if (refuseCompanionOutput(journal.path(), request.output)) {
        return exitBadInput;
    }
    return writeOutputFile(request.output, journalCsv(journal.document().dayList()));
}

// The trends and the monthly summary, as CSV on standard output.
int runTrend(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    const CQuilloxDoc::DayList &days = journal.document().dayList();
    writeOut(trendCsv(days, journalTrends(days), request.from, request.to));
    return finishOutput();
}

int runSummary(const CliRequest &request)
{
    OpenJournal journal(request, false);
    if (!journal.opened()) {
        return journal.failureStatus();
    }
    writeOut(summaryCsv(monthlySummary(journal.document().dayList(), request.from, request.to)));
    return finishOutput();
}

int runImportCsv(const CliRequest &request)
{
    // The input is read and judged before the journal is touched.
    std::string csv;
    if (!readInput(request.input, csv)) {
        return exitBadInput;
    }
    const JournalCsvRead read = readJournalCsv(csv);
    if (!read.fatalError.empty()) {
        writeError(read.fatalError);
        return exitBadInput;
    }
    for (const CsvRejectedLine &line : read.rejected) {
        writeError(fillText(clitext::csvLine, {std::to_string(line.lineNumber), line.reason}));
    }
    for (const CsvRejectedLine &line : read.rounded) {
        writeError(fillText(clitext::csvLine, {std::to_string(line.lineNumber), line.reason}));
    }
    if (!read.rejected.empty() && !request.skipBad) {
        writeError(
            fillText(clitext::csvRejectedNothingStored, {std::to_string(read.rejected.size())}));
        return exitBadInput;
    }

    // A file of nothing but bad lines changes no day: the journal is left alone.
    if (!read.days.empty()) {
        OpenJournal journal(request, true);
        if (!journal.opened()) {
            return journal.failureStatus();
        }
        mergeDays(journal.document(), read.days);
        if (!journal.store()) {
            return exitJournalFailure;
        }
    }
    if (!read.rejected.empty()) {
        writeError(fillText(clitext::csvSkipped, {std::to_string(read.rejected.size())}));
    }
    writeOut(fillText(clitext::csvImported, {std::to_string(read.days.size())}) + "\n");
    return finishOutput();
}

int runCheck(const CliRequest &request)
{
    // A look at the file, not an opening of the journal: no lock is taken,
    // and a journal open in the window can be checked too.
    // The name as the system gives it: read as bytes, it needs no text form.
    const std::string path = !request.input.empty() ? request.input : journalName(request);
    std::string bytes;
    if (!readInput(path, bytes)) {
        return exitJournalFailure;
    }
    const std::string shown = shownName(path).toStdString();
    // Each finding goes out as it is found: a long report never sits in memory.
    std::size_t findings = checkJournalText(bytes, [&shown](const CheckFinding &finding) {
        writeOut(checkFindingLine(shown, finding));
    });
    if (request.input.empty()) {
        if (const RecoveryFile recovery =
                readRecoveryFile(JournalSession::fullPath(shownName(path)));
            recovery.state != RecoveryFile::State::none && recovery.bytes != bytes) {
            writeOut(checkFindingLine(
                shown, CheckFinding{
                           0, ui(sessiontext::recoveryPending).arg(recovery.path).toStdString()}));
            ++findings;
        }
    }
    writeOut(checkSummaryLine(shown, findings));
    const int status = finishOutput();
    return status != exitSuccess ? status : findings == 0 ? exitSuccess : exitJournalFailure;
}

// ---- import-run ----

int runImportRun(const CliRequest &request)
{
    // Every file is read and judged before the journal is touched.
    std::vector<RunImportSource> sources;
    bool unreadable = false;
    for (const std::string &name : request.inputs) {
        struct stat status {};
        if (!isStandardStream(name) && ::stat(name.c_str(), &status) == 0) {
            // A FIFO or a device is read as a stream, whatever its size says.
            const std::optional<std::string> refusal = activityFileRefusal(
                S_ISDIR(status.st_mode),
                S_ISREG(status.st_mode) ? static_cast<std::uint64_t>(status.st_size) : 0);
            if (refusal) {
                sources.push_back({shownName(name).toStdString(),
                                   ActivityFile{ActivityFormat::unknown, {}, *refusal}});
                continue;
            }
        }
        std::string bytes;
        if (!readInput(name, bytes)) {
            unreadable = true;
            continue;
        }
        sources.push_back({shownName(name).toStdString(), decodeActivityFile(bytes)});
    }
    std::optional<ActivityField> chosen;
    if (request.runField == "jog")
        chosen = ActivityField::jog;
    else if (request.runField == "walk")
        chosen = ActivityField::walk;
    const RunImportPlan plan = planRunImport(sources, chosen, activitytext::refusedSportHintCli);
    for (const std::string &problem : plan.problems) {
        writeError(problem);
    }
    for (const std::string &note : plan.notes) {
        writeError(note);
    }
    if (plan.hasImportable()) {
        OpenJournal journal(request, true);
        if (!journal.opened()) {
            return journal.failureStatus();
        }
        applyRunImport(journal.document(), plan, request.addToDay);
        if (!journal.store()) {
            return exitJournalFailure;
        }
        for (const RunImportRow &row : plan.rows) {
            if (row.field) {
                writeOut(runImportLine(row, request.addToDay) + "\n");
            }
        }
    }
    const int status = finishOutput();
    if (status != exitSuccess) {
        return status;
    }
    return unreadable || !plan.problems.empty() ? exitBadInput : exitSuccess;
}

} // namespace

int runZeph(int argc, char *argv[])
{
    holdClosedStandardStreams();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const CliParse parse = parseCommandLine(arguments);
    if (!parse.request) {
        writeError(parse.error);
        writeError(clitext::seeHelp);
        return exitBadInput;
    }
    const CliRequest &request = *parse.request;
    if (request.help) {
        writeOut(usageText(request.command));
        return finishOutput();
    }
    if (request.version) {
        writeOut(std::string("zeph (Zephalonte) ") + ZPH_VERSION + "\n");
        return finishOutput();
    }
    switch (request.command) {
    case CliCommand::add:
        return runAdd(request);
    case CliCommand::show:
        return runShow(request);
    case CliCommand::advice:
        return runAdvice(request);
    case CliCommand::graph:
        return runGraph(request);
    case CliCommand::exportCsv:
        return runExportCsv(request);
    case CliCommand::importCsv:
        return runImportCsv(request);
    case CliCommand::check:
        return runCheck(request);
    case CliCommand::importRun:
        return runImportRun(request);
    case CliCommand::trend:
        return runTrend(request);
    case CliCommand::summary:
        return runSummary(request);
    default:
        break;
    }
    return exitBadInput; // not reached: the parser names a command
}
