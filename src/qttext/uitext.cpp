#include "qttext/uitext.h"

#include "text/cp932.h"

#include <QByteArray>

QString fromJournalText(std::string_view bytes)
{
    const Cp932Decoded decoded = decodeCp932(bytes);
    return QString::fromUtf8(decoded.utf8.data(), static_cast<qsizetype>(decoded.utf8.size()));
}

std::optional<std::string> toJournalText(const QString &text, QString *errorMessage)
{
    const QByteArray utf8 = text.toUtf8();
    Cp932Encoded encoded =
        encodeCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (encoded.unencodable) {
        if (errorMessage)
            *errorMessage =
                QString::fromStdString(unencodableCharacterMessage(*encoded.unencodable));
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}
