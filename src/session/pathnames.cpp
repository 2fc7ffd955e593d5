#include "session/pathnames.h"

#include "qttext/uitext.h"
#include "session/sessiontexts.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The length of the UTF-8 sequence at bytes[pos], 0 when it is not one.
std::size_t utf8SequenceAt(std::string_view bytes, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > bytes.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        const unsigned char min = i == 1 ? low : 0x80;
        const unsigned char max = i == 1 ? high : 0xBF;
        if (c < min || c > max) {
            return 0;
        }
    }
    return length;
}

std::string workingFolder()
{
    std::string folder(4096, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

} // namespace

bool isTextName(std::string_view bytes)
{
    const QByteArray native(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QFile::encodeName(QFile::decodeName(native)) == native;
}

QString shownNativeName(std::string_view bytes)
{
    std::string shown;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = utf8SequenceAt(bytes, pos);
        if (length == 0) {
            static constexpr char hex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(bytes[pos]);
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0x0F];
            ++pos;
            continue;
        }
        shown.append(bytes.substr(pos, length));
        pos += length;
    }
    return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

QString workingFolderProblem()
{
    const std::string folder = workingFolder();
    if (folder.empty() || isTextName(folder)) {
        return {};
    }
    return ui(sessiontext::workingFolderNotText).arg(shownNativeName(folder));
}

QString journalPathText(const std::string &bytes, QString *problem)
{
    if (!isTextName(bytes)) {
        *problem = ui(sessiontext::pathNotText).arg(shownNativeName(bytes));
        return {};
    }
    if (!bytes.starts_with('/')) {
        if (QString folder = workingFolderProblem(); !folder.isEmpty()) {
            *problem = folder;
            return {};
        }
    }
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

bool isMissingFile(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) != 0 && errno == ENOENT;
}
