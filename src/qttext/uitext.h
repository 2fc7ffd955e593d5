#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The title of the main window and of every message box.
inline constexpr char applicationTitle[] = "Zephalonte";

// The long date format of the date pickers (the entry form's and the
// objective's event date), as Japanese Windows writes a long date.
inline constexpr char longDateFormat[] = "yyyy年M月d日";

// One of the program's own texts (UTF-8, kept in each area's texts header).
inline QString ui(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Journal text (code-page-932 bytes) for display.
QString fromJournalText(std::string_view bytes);

// Text typed by the user, as code-page-932 bytes. nullopt when a character
// cannot be held by code page 932; errorMessage then says which one (Japanese,
// ready for a message box).
std::optional<std::string> toJournalText(const QString &text, QString *errorMessage = nullptr);
