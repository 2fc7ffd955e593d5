#include "cli/clijournal.h"

#include "cli/clistreams.h"
#include "cli/exitstatus.h"
#include "qttext/uitext.h"
#include "session/pathnames.h"
#include "session/recoveryfile.h"
#include "session/sessionmessages.h"
#include "session/sessiontexts.h"
#include "session/userprofile.h"

#include <QSettings>

#include <memory>

std::string journalName(const CliRequest &request)
{
    if (!request.file.empty()) {
        return request.file;
    }
    const std::unique_ptr<QSettings> profile = openUserProfile();
    const ProfileUsers users = readProfileUsers(*profile);
    return CQuilloxDoc::journalFileName(users.crntUserNum);
}

namespace {

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

} // namespace

OpenJournal::OpenJournal(const CliRequest &request, bool creates, bool forRecovery)
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
    // An emptied or headerless journal is what a truncation leaves: a store
    // would write the defaults over it and its .bak, the last good copy.
    if (creates && outcome.headerMissing) {
        writeQtError(ui(sessiontext::journalHeaderMissing).arg(path));
        return;
    }
    if (outcome.damaged()) {
        writeQtError(skippedLinesMessage(outcome));
    }
    // Days the window registered but never stored would be lost when the
    // user restores them over what this command stores.
    if (creates && !forRecovery) {
        if (const RecoveryFile recovery = session_.findRecovery();
            recovery.state != RecoveryFile::State::none) {
            writeQtError(recoveryPendingMessage(recovery));
            return;
        }
    }
    opened_ = true;
    status_ = exitSuccess;
}

bool OpenJournal::store()
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
    // Stored all the same: the change is in a file, which the user is told.
    if (!outcome.rescuePath.isEmpty()) {
        writeQtError(rescueStoredMessage(outcome));
    }
    return true;
}
