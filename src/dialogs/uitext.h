#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Journal text (code-page-932 bytes) for display.
QString fromJournalText(std::string_view bytes);

// Text typed by the user, as code-page-932 bytes. nullopt when a character
// cannot be held by code page 932; errorMessage then says which one (Japanese,
// ready for a message box).
std::optional<std::string> toJournalText(const QString &text, QString *errorMessage = nullptr);
